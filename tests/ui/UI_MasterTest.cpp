#include "ui/UI_Master.h"

#include "tests/support/GlObjectCount.h"
#include "tests/ui/ShowSupport.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace vorn::test {
namespace {

using namespace platform;
using ui::UI_Event;
using ui::UI_Master;
using ui::UI_Object;

// Records the events it receives and answers with `consumes`.
class Probe : public UI_Object {
public:
    Probe(int x0, int y0, int w, int h, bool consumes = false) : consumes(consumes) {
        x = x0;
        y = y0;
        width = w;
        height = h;
    }
    bool handleEvent(const UI_Event& event) override {
        received.push_back(event);
        return consumes;
    }
    bool consumes;
    std::vector<UI_Event> received;
};

// Whether any pixel within reach of (x, y) has the colour: thin lines fall on
// either side of a pixel boundary depending on the rasteriser.
bool colourNear(int x, int y, int reach, const Rgba& colour) {
    for (int dy = -reach; dy <= reach; ++dy)
        for (int dx = -reach; dx <= reach; ++dx)
            if (screenPixel(x + dx, y + dy) == colour) return true;
    return false;
}

TEST(UiProjection, MapsTheTopLeftPixelSpaceOntoClipSpace) {
    render::Mat4 m = ui::uiProjection(1920, 1080);
    auto clip = [&](float x, float y) { return std::pair{m[0] * x + m[4] * y + m[12], m[1] * x + m[5] * y + m[13]}; };
    EXPECT_EQ(clip(0, 0), (std::pair{-1.0f, 1.0f}));
    EXPECT_EQ(clip(1920, 1080), (std::pair{1.0f, -1.0f}));
    EXPECT_EQ(clip(960, 540), (std::pair{0.0f, 0.0f}));
    EXPECT_FLOAT_EQ(m[10], -1.0f);
    EXPECT_FLOAT_EQ(m[15], 1.0f);
}

TEST(UiInput, MouseMessagesMoveTheMouseButTheWheelKeepsIt) {
    UI_Master master;
    UI_Event event;
    ASSERT_TRUE(master.translate(WM_LBUTTONDOWN, MK_LBUTTON, makeMouseLParam(300, 200), event));
    EXPECT_EQ(event.kind, ui::LeftDown);
    EXPECT_EQ(event.x, 300);
    EXPECT_EQ(event.y, 200);

    // The wheel's lParam holds a screen position that must not move the mouse.
    ASSERT_TRUE(master.translate(WM_MOUSEWHEEL, WParam(uint16_t(-120)) << 16, makeMouseLParam(5, 6), event));
    EXPECT_EQ(event.kind, ui::Wheel);
    EXPECT_EQ(event.value, -120);
    EXPECT_EQ(event.x, 300);
    EXPECT_EQ(event.y, 200);

    // Positions left of or above the window stay negative.
    ASSERT_TRUE(master.translate(WM_MOUSEMOVE, 0, makeMouseLParam(-4, -9), event));
    EXPECT_EQ(event.x, -4);
    EXPECT_EQ(event.y, -9);
}

TEST(UiInput, ShiftAndControlFlagsFollowTheirKeysAndTravelWithEvents) {
    UI_Master master;
    UI_Event event;
    master.translate(WM_KEYDOWN, VK_SHIFT, 0, event);
    EXPECT_EQ(event.shift, 1);
    EXPECT_EQ(event.ctrl, 0);
    master.translate(WM_KEYDOWN, VK_CONTROL, 0, event);
    EXPECT_EQ(event.ctrl, 1);
    master.translate(WM_CHAR, 'a', 0, event);
    EXPECT_EQ(event.value, 'a');
    EXPECT_EQ(event.shift, 1);
    EXPECT_EQ(event.ctrl, 1);
    master.translate(WM_KEYUP, VK_SHIFT, 0, event);
    EXPECT_EQ(event.shift, 0);
    EXPECT_EQ(event.ctrl, 1);
    master.translate(WM_KEYUP, VK_CONTROL, 0, event);
    EXPECT_EQ(master.ctrl, 0);
}

TEST(UiDispatch, KeysReachEveryTopLevelWidgetButCharactersOnlyTheOneUnderTheMouse) {
    UI_Master master;
    Probe left(0, 0, 100, 100), right(200, 0, 100, 100);
    master.addTopLevel(&left);
    master.addTopLevel(&right);
    EXPECT_EQ(left.owner, &master);

    UI_Event event;
    master.translate(WM_MOUSEMOVE, 0, makeMouseLParam(250, 50), event);
    master.dispatch(event);
    master.translate(WM_KEYDOWN, 'S', 0, event);
    master.dispatch(event);
    master.translate(WM_CHAR, 's', 0, event);
    master.dispatch(event);

    ASSERT_EQ(left.received.size(), 1u);
    EXPECT_EQ(left.received[0].kind, ui::KeyDown);
    ASSERT_EQ(right.received.size(), 3u);
    EXPECT_EQ(right.received[2].kind, ui::Char);
    EXPECT_EQ(right.received[2].x, 250);
}

TEST(UiDispatch, EdgesCountAsInsideAndTheFirstConsumerEndsTheWalk) {
    UI_Master master;
    Probe first(10, 10, 20, 20, true), second(10, 10, 20, 20);
    master.addTopLevel(&first);
    master.addTopLevel(&second);
    master.dispatch(UI_Event{ui::LeftDown, 0, 30, 30, 0, 0});  // bottom-right edge
    master.dispatch(UI_Event{ui::LeftDown, 0, 31, 30, 0, 0});  // just outside
    EXPECT_EQ(first.received.size(), 1u);
    EXPECT_TRUE(second.received.empty());

    first.consumes = false;
    master.dispatch(UI_Event{ui::KeyUp, 65, 500, 500, 0, 0});
    EXPECT_EQ(second.received.size(), 1u);
    master.dispatch(UI_Event{0, 0, 15, 15, 0, 0});  // kind 0 is never sent
    EXPECT_EQ(second.received.size(), 1u);
}

TEST(UiDispatch, TheCaptureWidgetAloneReceivesEverything) {
    UI_Master master;
    Probe under(0, 0, 100, 100), holder(500, 500, 10, 10);
    master.addTopLevel(&under);
    master.capture = &holder;
    master.dispatch(UI_Event{ui::MouseMove, 0, 50, 50, 0, 0});
    master.dispatch(UI_Event{ui::KeyDown, 65, 50, 50, 0, 0});
    EXPECT_TRUE(under.received.empty());
    EXPECT_EQ(holder.received.size(), 2u);
}

// --- Primitives on screen

class UiPrimitives : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        master_.init(1920, 1080);
        glClearColor(0, 0, 0, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        master_.beginFrame();
    }
    void TearDown() override {
        glDisable(GL_BLEND);
        GlTest::TearDown();
    }
    UI_Master master_;
};

TEST_F(UiPrimitives, BeginFrameEnablesAlphaBlendingOverTheWholeWindow) {
    EXPECT_TRUE(glIsEnabled(GL_BLEND));
    GLint source = 0, viewport[4] = {};
    glGetIntegerv(GL_BLEND_SRC_RGB, &source);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(viewport[2], 1920);
    EXPECT_EQ(viewport[3], 1080);
}

TEST_F(UiPrimitives, RectanglesAreFilledAndOutlinedInWindowPixelsFromTheTopLeft) {
    master_.setColor({1, 0, 0, 1});
    master_.fillRect(100, 50, 200, 100);
    master_.setColor({0, 1, 0, 1});
    master_.strokeRect(500, 500, 100, 100);
    master_.flush();
    EXPECT_EQ(master_.currentColor, (ui::Color{0, 1, 0, 1}));

    EXPECT_EQ(screenPixel(101, 51), kRed);
    EXPECT_EQ(screenPixel(298, 148), kRed);
    EXPECT_EQ(screenPixel(99, 100), kBlack);
    EXPECT_EQ(screenPixel(200, 151), kBlack);
    // The outline, not the inside.
    EXPECT_TRUE(colourNear(550, 500, 1, kGreen));
    EXPECT_TRUE(colourNear(600, 550, 1, kGreen));
    EXPECT_EQ(screenPixel(550, 550), kBlack);
}

TEST_F(UiPrimitives, LinesTrianglesAndCirclesCoverTheirShapes) {
    master_.setColor({1, 1, 1, 1});
    master_.drawLine(10.0f, 100, 700, 400, 700);
    master_.fillTriangle(1000, 100, 1200, 100, 1000, 300);
    master_.strokeCircle(1500, 700, 100);
    master_.flush();
    EXPECT_EQ(screenPixel(250, 696), kWhite);
    EXPECT_EQ(screenPixel(250, 703), kWhite);
    EXPECT_EQ(screenPixel(250, 710), kBlack);
    EXPECT_EQ(screenPixel(1050, 150), kWhite);
    EXPECT_EQ(screenPixel(1180, 280), kBlack);
    EXPECT_TRUE(colourNear(1600, 700, 2, kWhite));  // on the circle's right
    EXPECT_TRUE(colourNear(1500, 600, 2, kWhite));  // its top
    EXPECT_EQ(screenPixel(1500, 700), kBlack);  // its centre
}

TEST_F(UiPrimitives, TexturedRectanglesPutTextureRowZeroAtTheTopUnlessFlipped) {
    // Two rows: row 0 red, row 1 blue.
    const uint8_t texels[] = {255, 0, 0, 255, 0, 0, 255, 255};
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, 1, 2, 0, GL_RGBA, GL_UNSIGNED_BYTE, texels);
    master_.setColor({1, 1, 1, 1});
    master_.drawTexturedRect(0, 0, 200, 200, false);
    master_.drawTexturedRect(300, 0, 200, 200, true);
    glBindTexture(GL_TEXTURE_2D, 0);
    glDeleteTextures(1, &texture);

    EXPECT_EQ(screenPixel(100, 20), kRed);
    EXPECT_EQ(screenPixel(100, 180), kBlue);
    EXPECT_EQ(screenPixel(400, 20), kBlue);
    EXPECT_EQ(screenPixel(400, 180), kRed);
}


// The primitives as they were drawn before the UI had its vertex stream: one
// vertex array and buffer per primitive, the colour a uniform, quads as
// four-corner fans and outlines as closed line strips.
class OneByOne {
public:
    OneByOne() {
        program_ = buildProgram(
            "#version 330 core\nin vec2 vertex; uniform mat4 projectionMatrix;\n"
            "void main() { gl_Position = projectionMatrix * vec4(vertex, 0.0, 1.0); }\n",
            "#version 330 core\nuniform vec4 color; out vec4 frag[1];\nvoid main() { frag[0] = color; }\n");
        glUseProgram(program_);
        render::Mat4 projection = ui::uiProjection(1920, 1080);
        glUniformMatrix4fv(glGetUniformLocation(program_, "projectionMatrix"), 1, GL_FALSE, projection.data());
        glUseProgram(0);
    }
    ~OneByOne() { glDeleteProgram(program_); }
    void draw(GLenum mode, std::vector<float> xy, ui::Color colour) {
        GLuint array = 0, buffer = 0;
        glGenVertexArrays(1, &array);
        glGenBuffers(1, &buffer);
        glBindVertexArray(array);
        glBindBuffer(GL_ARRAY_BUFFER, buffer);
        glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(xy.size() * sizeof(float)), xy.data(), GL_STATIC_DRAW);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);
        glUseProgram(program_);
        glUniform4fv(glGetUniformLocation(program_, "color"), 1, colour.data());
        glDrawArrays(mode, 0, GLsizei(xy.size() / 2));
        glUseProgram(0);
        glBindVertexArray(0);
        glDeleteVertexArrays(1, &array);
        glDeleteBuffers(1, &buffer);
    }

private:
    GLuint program_ = 0;
};

TEST_F(UiPrimitives, TheStreamDrawsTheSamePixelsAsPrimitivesDrawnOneByOne) {
    // Overlapping translucent shapes, so order and blending both show.
    const ui::Color a{0.95f, 0.5f, 0.2f, 1.0f}, b{0.1f, 0.7f, 0.9f, 0.6f}, c{1.0f, 1.0f, 0.0f, 0.3f};
    auto quad = [](float x, float y, float w, float h) { return std::vector<float>{x, y, x + w, y, x + w, y + h, x, y + h}; };
    master_.setColor(a);
    master_.fillRect(10, 10, 200, 120);
    master_.setColor(b);
    master_.strokeRect(30, 30, 150, 60);
    master_.fillTriangle(50, 20, 190, 40, 90, 125);
    master_.setColor(c);
    master_.drawLine(3.0f, 15, 110, 205, 25);
    master_.fillRect(100, 60, 80, 80);
    master_.flush();
    std::vector<uint8_t> streamed = readPixels(0, 1080 - 160, 240, 160);

    glClear(GL_COLOR_BUFFER_BIT);
    OneByOne old;
    old.draw(GL_TRIANGLE_FAN, quad(10, 10, 200, 120), a);
    old.draw(GL_LINE_STRIP, {30, 30, 180, 30, 180, 90, 30, 90, 30, 30}, b);
    old.draw(GL_TRIANGLES, {50, 20, 190, 40, 90, 125}, b);
    // The line's quad: the unit normal of (190, -85) times 1.5 either side.
    float length = std::sqrt(190.0f * 190.0f + 85.0f * 85.0f), nx = 85.0f / length * 1.5f, ny = 190.0f / length * 1.5f;
    old.draw(GL_TRIANGLE_FAN, {15 - nx, 110 - ny, 15 + nx, 110 + ny, 205 + nx, 25 + ny, 205 - nx, 25 - ny}, c);
    old.draw(GL_TRIANGLE_FAN, quad(100, 60, 80, 80), c);
    EXPECT_EQ(readPixels(0, 1080 - 160, 240, 160), streamed);
}

TEST_F(UiPrimitives, ASteadyFrameOfManyPrimitivesMakesNoGlObjectsAndFewDraws) {
    auto frame = [&] {
        master_.beginFrame();
        for (int i = 0; i < 300; ++i) {
            master_.setColor(master_.palette[std::size_t(i % 10)]);
            master_.fillRect(i * 6, 100, 5, 40);
            master_.drawText(0, float(i * 6), 200.0f, 12, master_.palette[9], "Glow 12");
            master_.fillTriangle(i * 6, 300, i * 6 + 5, 305, i * 6, 310);
        }
        master_.strokeRect(10, 400, 100, 100);
        master_.flush();
    };
    frame();  // the first use of a text size makes its atlas
    GlObjectCount objects;
    frame();
    EXPECT_EQ(objects.created(), 0);
    EXPECT_EQ(objects.deleted(), 0);
    EXPECT_EQ(master_.frameStats().draws, 2);  // the triangles with their text, then the outline
}

}  // namespace
}  // namespace vorn::test
