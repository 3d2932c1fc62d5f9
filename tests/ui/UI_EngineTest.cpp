#include "ui/UI_Engine.h"

#include "platform/Debug.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlObjectCount.h"
#include "tests/ui/ShowSupport.h"
#include "ui/TimeTexts.h"
#include "ui/UI_ViewerNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace vorn::test {
namespace {

using ui::UI_Engine;

// A widget that fills its 200 x 200 square at (x, 100) in one colour.
class Swatch : public ui::UI_Object {
public:
    Swatch(int x0, ui::Color colour) : colour(colour) {
        x = x0;
        y = 100;
        width = height = 200;
    }
    void draw() override {
        owner->setColor(colour);
        owner->fillRect(x, y, width, height);
    }
    ui::Color colour;
};

// The colour stored in a target at (x, y), y counted from texture row 0.
Rgba targetPixel(const render::GL_FrameBuffer& target, int x, int y) {
    std::vector<float> pixel = readAttachmentFloat(target.framebuffer, 0, x, y, 1, 1);
    auto byte = [](float v) { return uint8_t(std::lround(std::clamp(v, 0.0f, 1.0f) * 255.0f)); };
    return {byte(pixel[0]), byte(pixel[1]), byte(pixel[2]), byte(pixel[3])};
}

class UiEngine : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ui::attachNodeClasses(engine_.factory);
        engine_.initialise();
    }
    void TearDown() override {
        engine_.clearScene();
        glDisable(GL_BLEND);
        GlTest::TearDown();
    }
    // "<viewer>" showing a STRETCH reader of the file, made through the factory.
    ui::UI_ViewerNode* addShow(const std::string& viewer, const std::string& picture, const std::string& file) {
        EXPECT_TRUE(engine_.createNode(picture, "2D_ImgReader"));
        EXPECT_TRUE(engine_.createNode(viewer, "Viewer"));
        EXPECT_TRUE(engine_.connect(picture, viewer, 0));
        auto* reader = dynamic_cast<nodes::ImageNode_Reader*>(engine_.findNode(picture));
        reader->filename = file;
        reader->scaleMode = nodes::ImageNode_Reader::Stretch;
        return dynamic_cast<ui::UI_ViewerNode*>(engine_.findNode(viewer));
    }
    void frame(UI_Engine& ui) {
        ui.update();
        engine_.update(ui.uiTime);
        ui.draw();
    }

    WorkingDirectory folder_;
    engine::Engine engine_;
};

TEST_F(UiEngine, WithoutALoadingPictureInitSaysSoAndTheTargetStartsTransparent) {
    platform::DebugCapture log;
    UI_Engine ui;
    ui.init(engine_);
    EXPECT_TRUE(log.contains("loading.png"));
    EXPECT_EQ(targetPixel(*ui.uiTarget, 1900, 1000), (Rgba{0, 0, 0, 0}));
}

TEST_F(UiEngine, UpdateTakesTheEngineTimePlusThePlayClockAndLabelsThemForTheEditor) {
    UI_Engine ui;
    ui.init(engine_);
    ui.playerMode = false;
    engine_.time = 2.5f;
    engine_.frameDuration = 0.02f;
    ui.update();
    EXPECT_EQ(std::tuple(ui.uiTime, ui.timeLabel, ui.frameTimeLabel), std::tuple(2.5f, "00:02:500", "20ms (50)"));
    ui.playing = true;
    ui.timer.reset(0.0f);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ui.update();
    EXPECT_GE(ui.uiTime, 2.509f);
    EXPECT_EQ(ui::timeText(3599.5f), "59:59:500");
    EXPECT_EQ(ui::frameTimeText(0.00009f), "no FPS data");
    EXPECT_EQ(ui::frameTimeText(0.125f), "125ms (8)");
}

TEST_F(UiEngine, TheFirstFullScreenFrameIsRightWhateverStateAnEarlierDrawLeft) {
    writeQuadrantPicture("pic.png", 64, 36);
    UI_Engine ui;
    ui.init(engine_);
    engine_.uiTarget = ui.uiTarget.get();
    ui.viewerList = {addShow("Viewer 1", "Picture", "pic.png")};
    ui.selectedViewer = 0;
    glViewport(0, 0, 100, 100);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glUseProgram(ui.master.uiShader->program);
    const render::Mat4 identity = render::identityMatrix();
    glUniformMatrix4fv(render::UniformLocation(*ui.master.uiShader, "projectionMatrix"), 1, GL_FALSE, identity.data());
    glUseProgram(0);
    glClearColor(0.0f, 0.0f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    frame(ui);
    EXPECT_EQ(screenQuarters(), kQuadrants);
}

TEST_F(UiEngine, TheScreenShowsTheSelectedViewerOrStaysAloneAndASteadyFrameMakesNoGlObjects) {
    writePicture("red.png", 1, 1, 3, {255, 0, 0});
    writePicture("blue.png", 1, 1, 3, {0, 0, 255});
    UI_Engine ui;
    ui.init(engine_);
    engine_.uiTarget = ui.uiTarget.get();
    ui::UI_ViewerNode* first = addShow("Viewer 1", "Red", "red.png");
    ui::UI_ViewerNode* second = addShow("Viewer 2", "Blue", "blue.png");
    ASSERT_EQ(engine_.outputNodes.back(), second);  // drawn last: it must not draw over the first
    ui.viewerList = {first, second};
    ui.selectedViewer = 0;
    frame(ui);
    EXPECT_EQ(screenPixel(960, 540), kRed);
    ui.selectedViewer = 1;
    frame(ui);
    EXPECT_EQ(screenPixel(960, 540), kBlue);
    EXPECT_EQ(first->viewerTarget, nullptr);

    GlObjectCount objects;
    frame(ui);
    EXPECT_EQ(objects.created() + objects.deleted(), 0);

    // No viewer selected, or one out of range: the screen is left as it was.
    for (int selected : {-1, 3}) {
        ui.selectedViewer = selected;
        glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        frame(ui);
        EXPECT_EQ(screenPixel(960, 540), kGreen) << selected;
    }
}

TEST_F(UiEngine, AViewerWithoutAPictureClearsItsTargetTransparentAndRestoresTheState) {
    UI_Engine ui;
    ui.init(engine_);
    engine_.uiTarget = ui.uiTarget.get();
    ASSERT_TRUE(engine_.createNode("Move", "2D_Transform") && engine_.createNode("Viewer 1", "Viewer"));
    ASSERT_TRUE(engine_.connect("Move", "Viewer 1", 0));
    engine_.update(0.0f);
    EXPECT_EQ(targetPixel(*ui.uiTarget, 960, 540), (Rgba{0, 0, 0, 0}));
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(UiEngine, WidgetFramesDrawInOrderWithAnOnTopCaptureLastAndAnyOtherCaptureInItsPlace) {
    UI_Engine ui;
    ui.init(engine_);
    Swatch below(100, {1, 0, 0, 1}), above(200, {0, 0, 1, 1});
    ui.master.addTopLevel(&below);
    ui.master.addTopLevel(&above);
    ui.draw();
    EXPECT_EQ(screenPixel(250, 200), kBlue);
    ui.master.capture = &below;
    ui.master.captureOnTop = true;
    ui.draw();
    EXPECT_EQ(screenPixel(250, 200), kRed);
    ui.master.captureOnTop = false;
    glClear(GL_COLOR_BUFFER_BIT);
    ui.draw();
    EXPECT_EQ(screenPixel(150, 200), kRed);
    EXPECT_EQ(screenPixel(250, 200), kBlue);
}

}  // namespace
}  // namespace vorn::test
