#include "ui/UI_ViewerNode.h"

#include "nodes/image/Transform2D.h"
#include "tests/render/ReadBack.h"
#include "tests/ui/ShowSupport.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

class ViewerNode : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        target_ = std::make_unique<render::GL_FrameBuffer>(1920, 1080, 1, 16, GL_RGBA, false, false);
        engine_.addNode("Viewer", std::make_unique<ui::UI_ViewerNode>(engine_, "Viewer", target_.get()));
        engine_.addNode("Move", std::make_unique<nodes::ImageNode_Transform2D>(engine_, "Move"));
        viewer_ = static_cast<ui::UI_ViewerNode*>(engine_.findNode("Viewer"));
        paintTarget();
    }
    void TearDown() override {
        engine_.clearScene();
        target_.reset();
        GlTest::TearDown();
    }
    void paintTarget() {
        glBindFramebuffer(GL_FRAMEBUFFER, target_->framebuffer);
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
    std::vector<float> targetAt(int x, int y) { return readAttachmentFloat(target_->framebuffer, 0, x, y, 1, 1); }

    engine::Engine engine_;
    std::unique_ptr<render::GL_FrameBuffer> target_;
    ui::UI_ViewerNode* viewer_ = nullptr;
};

TEST_F(ViewerNode, IsAnOutputWithOneImageInput) {
    EXPECT_EQ(viewer_->kind(), engine::NodeKind::Output);
    EXPECT_EQ(viewer_->inputNames, std::vector<std::string>{"Image"});
    EXPECT_EQ(engine_.outputNodes, std::vector<engine::OutputNode*>{viewer_});
    engine::Node& move = *engine_.findNode("Move");
    EXPECT_TRUE(viewer_->acceptsInput(0, move));
    EXPECT_FALSE(viewer_->acceptsInput(1, move));
    EXPECT_FALSE(viewer_->acceptsInput(0, *viewer_));
    EXPECT_TRUE(viewer_->viewerShader.valid);
}

TEST_F(ViewerNode, WithoutATargetNothingIsDrawn) {
    viewer_->viewerTarget = nullptr;
    viewer_->present();
    EXPECT_EQ(targetAt(5, 5), (std::vector<float>{0, 1, 0, 1}));
}

TEST_F(ViewerNode, WithoutAPictureTheTargetIsClearedTransparent) {
    viewer_->present();
    EXPECT_EQ(targetAt(5, 5), (std::vector<float>{0, 0, 0, 0}));

    // Connected, but the input holds no picture.
    paintTarget();
    ASSERT_TRUE(engine_.connect("Move", "Viewer", 0));
    engine_.update(0.0f);
    EXPECT_EQ(targetAt(960, 540), (std::vector<float>{0, 0, 0, 0}));
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

}  // namespace
}  // namespace vorn::test
