// The UI on screen: the master's vertex stream, the image panel, the UI
// engine's frames and the player built on them.
#include "tests/engine/FakeAudioOutput.h"
#include "tests/engine/TestNodes.h"
#include "tests/support/GlObjectCount.h"
#include "tests/ui/ShowSupport.h"
#include "ui/TimeTexts.h"
#include "ui/UI_Engine.h"
#include "ui/UI_ImagePanel.h"
#include "ui/UI_ViewerNode.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <thread>

namespace vorn::test {
namespace {

using UiScreen = PlayerOnScreen;

// A viewer showing a STRETCH reader of the file; the reader is named after the file.
ui::UI_ViewerNode* addShow(engine::Engine& engine, const std::string& viewer, const std::string& file) {
    EXPECT_TRUE(engine.createNode(file, "2D_ImgReader") && engine.createNode(viewer, "Viewer"));
    EXPECT_TRUE(engine.connect(file, viewer, 0));
    auto* reader = dynamic_cast<nodes::ImageNode_Reader*>(engine.findNode(file));
    reader->filename = file;
    reader->scaleMode = nodes::ImageNode_Reader::Stretch;
    return dynamic_cast<ui::UI_ViewerNode*>(engine.findNode(viewer));
}

// Draws one primitive as the UI did before its vertex stream: a vertex array
// and buffer of its own, the colour a uniform.
void drawOneByOne(GLuint program, GLenum mode, const std::vector<float>& xy, const ui::Color& colour) {
    GLuint array = 0, buffer = 0;
    glGenVertexArrays(1, &array);
    glGenBuffers(1, &buffer);
    glBindVertexArray(array);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(xy.size() * sizeof(float)), xy.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
    glUniform4fv(glGetUniformLocation(program, "color"), 1, colour.data());
    glDrawArrays(mode, 0, GLsizei(xy.size() / 2));
    glDeleteVertexArrays(1, &array);
    glDeleteBuffers(1, &buffer);
}

TEST_F(UiScreen, TheStreamDrawsTheSamePixelsAsPrimitivesDrawnOneByOne) {
    ui::UI_Master& master = player_->ui().master;
    glClear(GL_COLOR_BUFFER_BIT);
    master.beginFrame();
    // Overlapping translucent shapes, so order and blending both show.
    const ui::Color a{0.95f, 0.5f, 0.2f, 1.0f}, b{0.1f, 0.7f, 0.9f, 0.6f}, c{1.0f, 1.0f, 0.0f, 0.3f};
    master.setColor(a);
    master.fillRect(10, 10, 200, 120);
    master.setColor(b);
    master.strokeRect(30, 30, 150, 60);
    master.fillTriangle(50, 20, 190, 40, 90, 125);
    master.setColor(c);
    master.drawLine(3.0f, 15, 110, 205, 25);
    master.fillRect(100, 60, 80, 80);
    master.flush();
    std::vector<uint8_t> streamed = readPixels(0, 1080 - 160, 240, 160);

    glClear(GL_COLOR_BUFFER_BIT);
    GLuint program = buildProgram(
        "#version 330 core\nin vec2 vertex; uniform mat4 projection;\n"
        "void main() { gl_Position = projection * vec4(vertex, 0.0, 1.0); }\n",
        "#version 330 core\nuniform vec4 color; out vec4 frag[1];\nvoid main() { frag[0] = color; }\n");
    ASSERT_NE(program, 0u);
    glUseProgram(program);
    const render::Mat4 projection = ui::uiProjection(1920, 1080);
    glUniformMatrix4fv(glGetUniformLocation(program, "projection"), 1, GL_FALSE, projection.data());
    drawOneByOne(program, GL_TRIANGLE_FAN, {10, 10, 210, 10, 210, 130, 10, 130}, a);
    drawOneByOne(program, GL_LINE_STRIP, {30, 30, 180, 30, 180, 90, 30, 90, 30, 30}, b);
    drawOneByOne(program, GL_TRIANGLES, {50, 20, 190, 40, 90, 125}, b);
    // The line's quad: the unit normal of (190, -85) times 1.5 either side.
    float length = std::sqrt(190.0f * 190.0f + 85.0f * 85.0f), nx = 85.0f / length * 1.5f, ny = 190.0f / length * 1.5f;
    drawOneByOne(program, GL_TRIANGLE_FAN, {15 - nx, 110 - ny, 15 + nx, 110 + ny, 205 + nx, 25 + ny, 205 - nx, 25 - ny}, c);
    drawOneByOne(program, GL_TRIANGLE_FAN, {100, 60, 180, 60, 180, 140, 100, 140}, c);
    glUseProgram(0);
    glDeleteProgram(program);
    EXPECT_EQ(readPixels(0, 1080 - 160, 240, 160), streamed);
}

TEST_F(UiScreen, ASteadyFrameOfManyPrimitivesMakesNoGlObjectsAndFewDraws) {
    ui::UI_Master& master = player_->ui().master;
    auto frame = [&] {
        master.beginFrame();
        for (int i = 0; i < 300; ++i) {
            master.setColor(master.palette[std::size_t(i % 10)]);
            master.fillRect(i * 6, 100, 5, 40);
            master.drawText(0, float(i * 6), 200.0f, 12, master.palette[9], "Glow 12");
            master.fillTriangle(i * 6, 300, i * 6 + 5, 305, i * 6, 310);
        }
        master.strokeRect(10, 400, 100, 100);
        master.flush();
    };
    frame();  // the first use of a text size makes its atlas
    GlObjectCount objects;
    frame();
    EXPECT_EQ(objects.created() + objects.deleted(), 0);
    EXPECT_EQ(master.frameStats().draws, 2);  // the triangles with their text, then the outline
}

// Where the view puts a point of the panel's own space.
std::pair<float, float> onScreen(const ui::UI_ImagePanel& panel, float x, float y) {
    return {panel.viewX(x, y), panel.viewY(x, y)};
}

TEST(UiImagePanel, TheWheelZoomsAboutTheMouseAMiddleDragPansAndARightClickResets) {
    ui::UI_Master master;
    ui::UI_ImagePanel panel("", 100, 100, 400, 200, false);
    master.addTopLevel(&panel);
    EXPECT_FALSE(panel.handleEvent({ui::MouseMove, 0, 300, 200, 0, 0}));
    EXPECT_TRUE(panel.handleEvent({ui::Wheel, 120, 300, 200, 0, 0}));
    // 10 % larger about (300, 200): (400, 300) is 100 right and down of it.
    EXPECT_EQ(onScreen(panel, 400, 300), (std::pair{410.0f, 310.0f}));
    EXPECT_EQ(onScreen(panel, 300, 200), (std::pair{300.0f, 200.0f}));
    panel.handleEvent({ui::RightDown, 0, 300, 200, 0, 0});
    EXPECT_EQ(panel.viewMatrix, render::identityMatrix());

    panel.handleEvent({ui::MiddleDown, 0, 150, 150, 0, 0});
    EXPECT_EQ(master.capture, &panel);
    panel.handleEvent({ui::MouseMove, 0, 180, 140, 0, 0});
    panel.handleEvent({ui::MouseMove, 0, 190, 145, 0, 0});
    panel.handleEvent({ui::MiddleUp, 0, 190, 145, 0, 0});
    EXPECT_EQ(master.capture, nullptr);
    panel.handleEvent({ui::MouseMove, 0, 400, 400, 0, 0});
    EXPECT_EQ(onScreen(panel, 0, 0), (std::pair{40.0f, -5.0f}));
    panel.handleEvent({ui::MiddleDown, 0, 600, 150, 0, 0});  // outside the panel
    EXPECT_EQ(master.capture, nullptr);

    ui::UI_ImagePanel passive("", 0, 0, 1920, 1080, true);
    for (uint32_t kind = ui::MouseMove; kind <= ui::Char; ++kind) EXPECT_TRUE(passive.handleEvent({kind, 120, 10, 10, 0, 0}));
    EXPECT_EQ(passive.viewMatrix, render::identityMatrix());
}

TEST(UiImagePanel, DraggingAHandleMovesAndKeysItsPointByTheMouseStepThroughTheView) {
    struct Case {
        const char* what;
        float zoom;
        int dx, dy;
        bool shift;
        float u, v;  // expected, from (0.25, 0.5) in a 400 x 200 panel
    };
    const Case cases[] = {
        {"plain step", 1.0f, 40, 10, false, 0.35f, 0.55f},
        {"shift keeps the larger component", 1.0f, 10, 20, true, 0.25f, 0.6f},
        {"a tie keeps y", 1.0f, 8, -8, true, 0.25f, 0.46f},
        {"zoomed in twice: half the step", 2.0f, 40, 0, false, 0.3f, 0.5f},
    };
    for (const Case& c : cases) {
        engine::Engine engine;
        registerTestNodeTypes(engine.factory);
        ASSERT_TRUE(engine.createNode("Glow 1", "TestImage"));
        float* point = static_cast<TestImageNode*>(engine.findNode("Glow 1"))->offset;  // starts at (0.25, 0.5)
        engine.addKeyframe("Glow 1", "Offset");
        engine.time = 1.0f;
        ui::UI_Master master;
        ui::UI_ImagePanel panel("", 100, 100, 400, 200, false);
        master.addTopLevel(&panel);
        panel.viewMatrix = render::scaleMatrix(c.zoom, c.zoom, 1.0f);
        panel.addHandle({point, "Glow 1.Offset", "Glow 1", "Offset", &engine, nullptr});
        int hx = int(200 * c.zoom), hy = int(200 * c.zoom);  // (100 + 400 u, 100 + 200 v) through the view

        EXPECT_FALSE(panel.handleEvent({ui::LeftDown, 0, hx + 8, hy, 0, 0})) << c.what;  // beside it
        EXPECT_TRUE(panel.handleEvent({ui::LeftDown, 0, hx + 3, hy - 2, 0, 0})) << c.what;
        EXPECT_FALSE(panel.handleEvent({ui::MouseMove, 0, hx + 3 + c.dx, hy - 2 + c.dy, 0, uint8_t(c.shift)}));
        EXPECT_NEAR(point[0], c.u, 1e-6) << c.what;
        EXPECT_NEAR(point[1], c.v, 1e-6) << c.what;
        const std::vector<engine::Keyframe>& keys = engine.tracksByNode["Glow 1"][0].keys;
        ASSERT_EQ(keys.size(), 2u) << c.what;
        EXPECT_EQ(keys[1].value, point[0]) << c.what;
        EXPECT_TRUE(panel.handleEvent({ui::LeftUp, 0, 0, 0, 0, 0})) << c.what;
        EXPECT_EQ(master.capture, nullptr) << c.what;
    }
}

TEST_F(UiScreen, AnImagePanelDrawsItsPictureOutlineAndHandlesThroughTheView) {
    render::GL_FrameBuffer green(64, 32, 1, 8, GL_RGBA, false, false);
    glBindFramebuffer(GL_FRAMEBUFFER, green.framebuffer);
    glClearColor(0.0f, 1.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    ui::UI_Master& master = player_->ui().master;
    master.beginFrame();
    ui::UI_ImagePanel panel("", 100, 100, 400, 200, false);
    master.addTopLevel(&panel);
    panel.image = &green;
    panel.viewMatrix = render::translationMatrix(50.0f, 20.0f, 0.0f);
    float point[2] = {0.5f, 0.25f};
    panel.addHandle({point, "", "", "", nullptr, nullptr});
    panel.draw();
    master.flush();
    EXPECT_EQ(screenPixel(130, 110), kBlack);  // moved away by the view
    EXPECT_EQ(screenPixel(160, 130), kGreen);
    EXPECT_EQ(screenPixel(540, 310), kGreen);
    EXPECT_EQ(screenPixel(560, 330), kBlack);
    // The handle's square at (100 + 400 u, 100 + 200 v) moved by the view, in the highlight colour.
    EXPECT_TRUE(near(screenPixel(352, 172), Rgba{255, 178, 0, 255}, 1));
    bool outlined = false;
    for (int dy = -1; dy <= 1; ++dy) outlined |= screenPixel(300, 120 + dy) == kWhite;
    EXPECT_TRUE(outlined);
}

TEST_F(UiScreen, UpdateTakesTheEngineTimePlusThePlayClockAndLabelsThemForTheEditor) {
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

TEST_F(UiScreen, TheFirstFrameShowsViewer1WhateverAnEarlierDrawLeftAndStartsTheMusicOnceThenFollowsIt) {
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

TEST_F(UiScreen, OnlyAnOutputNodeNamedExactlyViewer1IsPresented) {
    writeQuadrantPicture("Viewer 1", 64, 36);
    addShow(player_->engine(), "viewer 1", "Viewer 1");
    show();
    EXPECT_TRUE(player_->ui().viewerList.empty());
    EXPECT_EQ(screenPixel(480, 270), kBlack);
    EXPECT_TRUE(player_->ui().playing);
}

TEST_F(UiScreen, TheScreenShowsTheSelectedViewerOnlyAndASteadyFrameMakesNoGlObjects) {
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

TEST_F(UiScreen, WidgetFramesDrawInOrderWithAnOnTopCaptureLastAndAnyOtherCaptureInItsPlace) {
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
}

}  // namespace
}  // namespace vorn::test
