// The UI engine and the player built on it: the clock and its labels, which
// viewer reaches the screen, widget frames, and the player's first frame.
#include "ui/UI_Engine.h"

#include "tests/engine/FakeAudioOutput.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlObjectCount.h"
#include "tests/ui/ShowSupport.h"
#include "ui/TimeTexts.h"
#include "ui/UI_ViewerNode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vorn::test {
namespace {

using UiEngine = PlayerOnScreen;

// A viewer showing a STRETCH reader of the file; the reader is named after the file.
ui::UI_ViewerNode* addShow(engine::Engine& engine, const std::string& viewer, const std::string& file) {
    EXPECT_TRUE(engine.createNode(file, "2D_ImgReader") && engine.createNode(viewer, "Viewer"));
    EXPECT_TRUE(engine.connect(file, viewer, 0));
    auto* reader = dynamic_cast<nodes::ImageNode_Reader*>(engine.findNode(file));
    reader->filename = file;
    reader->scaleMode = nodes::ImageNode_Reader::Stretch;
    return dynamic_cast<ui::UI_ViewerNode*>(engine.findNode(viewer));
}

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

TEST_F(UiEngine, UpdateTakesTheEngineTimePlusThePlayClockAndLabelsThemForTheEditor) {
    ui::UI_Engine& ui = player_->ui();
    ui.playerMode = false;
    player_->engine().time = 2.5f;
    player_->engine().frameDuration = 0.02f;
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

TEST_F(UiEngine, TheFirstFrameShowsViewer1WhateverAnEarlierDrawLeftAndStartsTheMusicOnceThenFollowsIt) {
    writeQuadrantPicture("pic.png", 64, 36);
    ASSERT_TRUE(saveShowProject("demo.vorn", "pic.png", false));
    FakeAudioState audio;
    ui::Player player(std::make_unique<FakeAudioOutput>(audio));
    ASSERT_TRUE(player.loadProject(ui::Player::kProjectFile));
    glViewport(0, 0, 100, 100);
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE);
    render::ShaderProgram& shader = *player.ui().master.uiShader;
    glUseProgram(shader.program);
    const render::Mat4 identity = render::identityMatrix();
    glUniformMatrix4fv(render::UniformLocation(shader, "projectionMatrix"), 1, GL_FALSE, identity.data());
    glUseProgram(0);
    player.renderFrame();
    EXPECT_EQ(screenQuarters(), kQuadrants);
    EXPECT_EQ(player.ui().viewerList, std::vector<engine::Node*>{player.engine().findNode("Viewer 1")});
    EXPECT_EQ(audio.plays, 1);
    EXPECT_EQ(audio.position, 0u);
    EXPECT_EQ(audio.created.back(), player.engine().musicFile);
    audio.position = 1500;
    player.renderFrame();
    EXPECT_EQ(audio.plays, 1);
    EXPECT_EQ(player.engine().time, 1.5f);
}

TEST_F(UiEngine, OnlyAnOutputNodeNamedExactlyViewer1IsPresented) {
    writeQuadrantPicture("Viewer 1", 64, 36);
    addShow(player_->engine(), "viewer 1", "Viewer 1");
    show();
    EXPECT_TRUE(player_->ui().viewerList.empty());
    EXPECT_EQ(screenPixel(480, 270), kBlack);
    EXPECT_TRUE(player_->ui().playing);
}

TEST_F(UiEngine, TheScreenShowsTheSelectedViewerOnlyAndASteadyFrameMakesNoGlObjects) {
    writePicture("red.png", 1, 1, 3, {255, 0, 0});
    writePicture("blue.png", 1, 1, 3, {0, 0, 255});
    ui::UI_ViewerNode* first = addShow(player_->engine(), "Viewer 1", "red.png");
    ui::UI_ViewerNode* second = addShow(player_->engine(), "Viewer 2", "blue.png");
    ASSERT_EQ(player_->engine().outputNodes.back(), second);  // drawn last: it must not draw over the first
    player_->autoStart = false;
    player_->ui().viewerList = {first, second};
    const std::pair<int, Rgba> selections[] = {{0, kRed}, {1, kBlue}, {-1, kBlack}, {3, kBlack}};
    for (const auto& [selected, colour] : selections) {
        player_->ui().selectedViewer = selected;
        show();
        EXPECT_EQ(screenPixel(960, 540), colour) << selected;
    }
    EXPECT_EQ(first->viewerTarget, nullptr);
    GlObjectCount objects;
    player_->ui().selectedViewer = 0;
    show();
    show();
    EXPECT_EQ(objects.created() + objects.deleted(), 0);
}

TEST_F(UiEngine, AViewerWithoutAPictureClearsItsTargetTransparentAndRestoresTheState) {
    engine::Engine& engine = player_->engine();
    ASSERT_TRUE(engine.createNode("Move", "2D_Transform") && engine.createNode("Viewer 1", "Viewer"));
    ASSERT_TRUE(engine.connect("Move", "Viewer 1", 0));
    engine.update(0.0f);
    EXPECT_EQ(readAttachmentFloat(player_->ui().uiTarget->framebuffer, 0, 960, 540, 1, 1), (std::vector<float>{0, 0, 0, 0}));
    GLint framebuffer = -1;
    glGetIntegerv(GL_FRAMEBUFFER_BINDING, &framebuffer);
    EXPECT_EQ(framebuffer, 0);
    EXPECT_FALSE(glIsEnabled(GL_BLEND));
}

TEST_F(UiEngine, WidgetFramesDrawInOrderWithAnOnTopCaptureLastAndAnyOtherCaptureInItsPlace) {
    ui::UI_Engine& ui = player_->ui();
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
    glDisable(GL_BLEND);
}

TEST_F(UiEngine, LoadingOverAnExistingSceneAsksThroughThePlayersQuestion) {
    ASSERT_TRUE(saveShowProject("demo.vorn", "pic.png", false));
    std::vector<std::string> asked;
    ui::Player player(nullptr, [&](const std::string& text, const std::string& caption) {
        asked.push_back(caption + ": " + text);
        return false;
    });
    ASSERT_TRUE(player.engine().createNode("Old", "2D_Transform"));
    EXPECT_FALSE(player.loadProject("demo.vorn"));
    EXPECT_EQ(asked, std::vector<std::string>{"VORN: Load and clear scene?"});
    EXPECT_NE(player.engine().findNode("Old"), nullptr);
}

}  // namespace
}  // namespace vorn::test
