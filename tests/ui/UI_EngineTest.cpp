#include "ui/UI_Engine.h"

#include "platform/Debug.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlObjectCount.h"
#include "tests/ui/ShowSupport.h"
#include "ui/UI_ViewerNode.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <thread>

namespace vorn::test {
namespace {

using ui::UI_Engine;

// A widget that fills its rectangle in one colour and counts its draws.
class Swatch : public ui::UI_Object {
public:
    Swatch(int x0, int y0, int w, int h, ui::Color colour) : colour(colour) {
        x = x0;
        y = y0;
        width = w;
        height = h;
    }
    void draw() override {
        ++draws;
        owner->setColor(colour);
        owner->fillRect(x, y, width, height);
    }
    bool handleEvent(const ui::UI_Event& event) override {
        events.push_back(event);
        return true;
    }
    ui::Color colour;
    int draws = 0;
    std::vector<ui::UI_Event> events;
};

// The colour stored in uiTarget at (x, y), y counted from texture row 0.
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

    // "Viewer <n>" showing a STRETCH reader of the file, made through the factory.
    ui::UI_ViewerNode* addShow(const std::string& viewer, const std::string& picture, const std::string& file) {
        EXPECT_TRUE(engine_.createNode(picture, "2D_ImgReader"));
        EXPECT_TRUE(engine_.createNode(viewer, "Viewer"));
        EXPECT_TRUE(engine_.connect(picture, viewer, 0));
        auto* reader = static_cast<nodes::ImageNode_Reader*>(engine_.findNode(picture));
        reader->filename = file;
        reader->scaleMode = nodes::ImageNode_Reader::Stretch;
        return static_cast<ui::UI_ViewerNode*>(engine_.findNode(viewer));
    }

    WorkingDirectory folder_;
    engine::Engine engine_;
};

TEST_F(UiEngine, InitPreparesThePlayerAndDrawsTheLoadingPictureIntoItsTarget) {
    platform::makeDirectory("rsrc");
    platform::makeDirectory("rsrc/misc");
    writeQuadrantPicture("rsrc/misc/loading.png", 64, 36);
    UI_Engine ui;
    EXPECT_TRUE(ui.init(engine_));
    ASSERT_NE(ui.uiTarget, nullptr);
    EXPECT_EQ(ui.fullScreenPanel->image, ui.uiTarget.get());
    // Texture row 0 holds the top of the picture.
    EXPECT_EQ(targetPixel(*ui.uiTarget, 480, 270), kRed);
    EXPECT_EQ(targetPixel(*ui.uiTarget, 1440, 270), kGreen);
    EXPECT_EQ(targetPixel(*ui.uiTarget, 480, 810), kBlue);
}

TEST_F(UiEngine, WithoutALoadingPictureTheTargetStartsTransparentBlack) {
    platform::DebugCapture log;
    UI_Engine ui;
    ui.init(engine_);
    EXPECT_TRUE(log.contains("loading.png"));
    EXPECT_EQ(targetPixel(*ui.uiTarget, 10, 10), (Rgba{0, 0, 0, 0}));
    EXPECT_EQ(targetPixel(*ui.uiTarget, 1900, 1000), (Rgba{0, 0, 0, 0}));
}

TEST_F(UiEngine, TheWidgetFrameShowsTheLoadingPictureUpright) {
    platform::makeDirectory("rsrc");
    platform::makeDirectory("rsrc/misc");
    writeQuadrantPicture("rsrc/misc/loading.png", 64, 36);
    UI_Engine ui;
    ui.init(engine_);
    ui.draw();
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
    EXPECT_EQ(screenPixel(480, 270), kRed);
    EXPECT_EQ(screenPixel(1440, 270), kGreen);
    EXPECT_EQ(screenPixel(480, 810), kBlue);
    EXPECT_EQ(screenPixel(1440, 810), kWhite);
}

TEST_F(UiEngine, UpdateTakesTheEngineTimeAndAddsThePlayClockWhilePlaying) {
    UI_Engine ui;
    ui.init(engine_);
    engine_.time = 2.5f;
    ui.update();
    EXPECT_EQ(ui.uiTime, 2.5f);
    EXPECT_EQ(ui.displayMode, ui::FullScreenViewer);

    ui.playing = true;
    ui.timer.reset(0.0f);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
    ui.update();
    EXPECT_GE(ui.uiTime, 2.509f);
    EXPECT_EQ(ui.uiTime, 2.5f + ui.timer.delta);
    EXPECT_EQ(ui.timeLabel, "");  // labels are the editor's

    ui.playerMode = false;
    ui.playing = false;
    engine_.frameDuration = 0.0f;
    ui.update();
    EXPECT_EQ(ui.timeLabel, "00:02:500");
    EXPECT_EQ(ui.frameTimeLabel, "no FPS data");
}

TEST_F(UiEngine, TheFirstFullScreenFrameIsRightWithoutAnEarlierWidgetFrame) {
    writeQuadrantPicture("pic.png", 64, 36);
    UI_Engine ui;
    ui.init(engine_);
    engine_.uiTarget = ui.uiTarget.get();
    ui::UI_ViewerNode* viewer = addShow("Viewer 1", "Picture", "pic.png");
    ui.viewerList = {viewer};
    ui.selectedViewer = 0;

    // Whatever drew before leaves a small viewport, additive blending and
    // another projection in the textured program.
    glViewport(0, 0, 100, 100);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    glUseProgram(ui.master.uiShader->program);
    const render::Mat4 identity = render::identityMatrix();
    glUniformMatrix4fv(render::UniformLocation(*ui.master.uiShader, "projectionMatrix"), 1, GL_FALSE,
                       identity.data());
    glUseProgram(0);
    glClearColor(0.0f, 0.0f, 0.5f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    ui.update();
    engine_.update(ui.uiTime);
    ui.draw();
    EXPECT_EQ(screenPixel(480, 270), kRed);
    EXPECT_EQ(screenPixel(1440, 270), kGreen);
    EXPECT_EQ(screenPixel(480, 810), kBlue);
    EXPECT_EQ(screenPixel(1440, 810), kWhite);
}

TEST_F(UiEngine, WithTwoViewersTheScreenShowsTheSelectedOne) {
    std::vector<uint8_t> red(16 * 9 * 3), blue(16 * 9 * 3);
    for (std::size_t i = 0; i < red.size(); i += 3) {
        red[i] = 255;
        blue[i + 2] = 255;
    }
    writePicture("red.png", 16, 9, 3, red);
    writePicture("blue.png", 16, 9, 3, blue);
    UI_Engine ui;
    ui.init(engine_);
    engine_.uiTarget = ui.uiTarget.get();
    ui::UI_ViewerNode* first = addShow("Viewer 1", "Red", "red.png");
    ui::UI_ViewerNode* second = addShow("Viewer 2", "Blue", "blue.png");
    ASSERT_EQ(engine_.outputNodes.back(), second);  // the engine draws the second one last
    ui.viewerList = {first, second};
    ui.selectedViewer = 0;

    ui.update();
    engine_.update(ui.uiTime);
    ui.draw();
    EXPECT_EQ(screenPixel(960, 540), kRed);
    EXPECT_EQ(first->viewerTarget, ui.uiTarget.get());
    EXPECT_EQ(second->viewerTarget, nullptr);

    ui.selectedViewer = 1;
    ui.update();
    engine_.update(ui.uiTime);
    ui.draw();
    EXPECT_EQ(screenPixel(960, 540), kBlue);
    EXPECT_EQ(first->viewerTarget, nullptr);

    // A steady player frame, its present included, makes and deletes no GL objects.
    GlObjectCount objects;
    ui.update();
    engine_.update(ui.uiTime);
    ui.draw();
    EXPECT_EQ(objects.created() + objects.deleted(), 0);
}

TEST_F(UiEngine, FullScreenModeWithoutASelectedViewerLeavesTheScreenAlone) {
    UI_Engine ui;
    ui.init(engine_);
    ui.update();
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ui.draw();
    EXPECT_EQ(screenPixel(960, 540), kGreen);
    ui.viewerList = {nullptr};
    ui.selectedViewer = 3;  // out of range: none
    ui.draw();
    EXPECT_EQ(screenPixel(960, 540), kGreen);
}

TEST_F(UiEngine, WidgetFramesDrawInOrderWithAnOnTopCaptureLast) {
    UI_Engine ui;
    ui.init(engine_);
    Swatch below(100, 100, 200, 200, {1, 0, 0, 1}), above(200, 100, 200, 200, {0, 0, 1, 1});
    ui.master.addTopLevel(&below);
    ui.master.addTopLevel(&above);
    ui.draw();
    EXPECT_EQ(screenPixel(250, 200), kBlue);

    ui.master.capture = &below;
    ui.master.captureOnTop = true;
    ui.draw();
    EXPECT_EQ(screenPixel(250, 200), kRed);
    EXPECT_EQ(below.draws, 2);

    // A capture that is not on top keeps its place, and is still drawn.
    ui.master.captureOnTop = false;
    glClear(GL_COLOR_BUFFER_BIT);
    ui.draw();
    EXPECT_EQ(below.draws, 3);
    EXPECT_EQ(screenPixel(150, 200), kRed);
    EXPECT_EQ(screenPixel(250, 200), kBlue);
}

TEST_F(UiEngine, WindowMessagesReachTheWidgetsOnlyWhileTheUiTakesThem) {
    auto ui = std::make_unique<UI_Engine>();
    ui->init(engine_);
    Swatch probe(0, 0, 10, 10, {1, 1, 1, 1});
    probe.setOwner(&ui->master);
    // In front of the passive full-screen panel, which would swallow everything.
    ui->master.topLevel.insert(ui->master.topLevel.begin(), &probe);

    ui::handleWindowMessage(platform::WM_KEYDOWN, 'A', 0);
    EXPECT_TRUE(probe.events.empty());

    ui::setWindowMessageTarget(ui.get());
    ui::handleWindowMessage(platform::WM_KEYDOWN, 'A', 0);
    ui::handleWindowMessage(platform::WM_MOUSEMOVE, 0, platform::makeMouseLParam(5, 6));
    ASSERT_EQ(probe.events.size(), 2u);
    EXPECT_EQ(probe.events[0].value, 'A');
    EXPECT_EQ(ui->master.mouseX, 5);

    ui.reset();
    EXPECT_EQ(ui::windowMessageTarget(), nullptr);
    ui::handleWindowMessage(platform::WM_KEYDOWN, 'A', 0);  // nothing left to reach
}

}  // namespace
}  // namespace vorn::test
