#include "ui/NodeTypes.h"

#include "engine/Engine.h"
#include "nodes/image/Reader.h"
#include "nodes/image/Transform2D.h"
#include "tests/support/GlFixture.h"
#include "ui/UI_ViewerNode.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

class NodeTypes : public GlTest {};

TEST_F(NodeTypes, ThePlayersTypesAreCreatedAsTheirClasses) {
    engine::Engine engine;
    ui::attachNodeClasses(engine.factory);
    render::GL_FrameBuffer target(16, 16, 1, 8, GL_RGBA, false, false);
    engine.uiTarget = &target;
    ASSERT_TRUE(engine.createNode("V", "Viewer"));
    ASSERT_TRUE(engine.createNode("R", "2D_ImgReader"));
    ASSERT_TRUE(engine.createNode("T", "2D_Transform"));
    auto* viewer = dynamic_cast<ui::UI_ViewerNode*>(engine.findNode("V"));
    ASSERT_NE(viewer, nullptr);
    EXPECT_EQ(viewer->viewerTarget, &target);
    EXPECT_NE(dynamic_cast<nodes::ImageNode_Reader*>(engine.findNode("R")), nullptr);
    EXPECT_NE(dynamic_cast<nodes::ImageNode_Transform2D*>(engine.findNode("T")), nullptr);
    EXPECT_EQ(engine.nodeTypes.at("R"), "2D_ImgReader");
    engine.clearScene();
}

}  // namespace
}  // namespace vorn::test
