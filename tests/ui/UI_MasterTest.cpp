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

// Records the events it receives and answers with `consumes`.
class Probe : public ui::UI_Object {
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

TEST(UiInput, TheWheelKeepsTheMouseAndModifierFlagsTravelWithEveryEvent) {
    UI_Master master;
    UI_Event event;
    master.translate(WM_MOUSEMOVE, 0, makeMouseLParam(-4, -9), event);
    // The wheel's lParam is a screen position, not the window's mouse.
    ASSERT_TRUE(master.translate(WM_MOUSEWHEEL, WParam(uint16_t(-120)) << 16, makeMouseLParam(5, 6), event));
    EXPECT_EQ(std::tuple(event.kind, event.value, event.x, event.y), std::tuple(uint32_t(ui::Wheel), -120, -4, -9));
    master.translate(WM_KEYDOWN, VK_SHIFT, 0, event);
    master.translate(WM_KEYDOWN, VK_CONTROL, 0, event);
    master.translate(WM_CHAR, 'a', 0, event);
    EXPECT_EQ(std::tuple(event.value, event.shift, event.ctrl), std::tuple(int32_t('a'), uint8_t(1), uint8_t(1)));
    master.translate(WM_KEYUP, VK_SHIFT, 0, event);
    EXPECT_EQ(std::pair(event.shift, event.ctrl), std::pair(uint8_t(0), uint8_t(1)));
}

TEST(UiDispatch, KeysReachEveryWidgetCharactersAndClicksTheOneUnderTheMouseAndACaptureAll) {
    UI_Master master;
    Probe left(0, 0, 100, 100), right(200, 0, 100, 100, true), behind(200, 0, 100, 100);
    master.addTopLevel(&left);
    master.addTopLevel(&right);
    master.addTopLevel(&behind);
    master.dispatch(UI_Event{ui::KeyDown, 'S', 250, 50, 0, 0});
    master.dispatch(UI_Event{ui::Char, 's', 250, 50, 0, 0});
    master.dispatch(UI_Event{ui::LeftDown, 0, 300, 100, 0, 0});  // the bottom-right edge is inside
    master.dispatch(UI_Event{ui::LeftDown, 0, 301, 100, 0, 0});
    master.dispatch(UI_Event{0, 0, 250, 50, 0, 0});  // kind 0 is never sent
    EXPECT_EQ(left.received.size(), 1u);
    EXPECT_EQ(right.received.size(), 3u);
    EXPECT_TRUE(behind.received.empty());  // the first consumer ends the walk

    master.capture = &behind;
    master.dispatch(UI_Event{ui::KeyDown, 'S', 50, 50, 0, 0});
    master.dispatch(UI_Event{ui::MouseMove, 0, 50, 50, 0, 0});
    EXPECT_EQ(left.received.size(), 1u);
    EXPECT_EQ(behind.received.size(), 2u);
}

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
    glUseProgram(program);
    glUniform4fv(glGetUniformLocation(program, "color"), 1, colour.data());
    glDrawArrays(mode, 0, GLsizei(xy.size() / 2));
    glUseProgram(0);
    glBindVertexArray(0);
    glDeleteVertexArrays(1, &array);
    glDeleteBuffers(1, &buffer);
}

TEST_F(UiPrimitives, TheStreamDrawsTheSamePixelsAsPrimitivesDrawnOneByOne) {
    // Overlapping translucent shapes, so order and blending both show.
    const ui::Color a{0.95f, 0.5f, 0.2f, 1.0f}, b{0.1f, 0.7f, 0.9f, 0.6f}, c{1.0f, 1.0f, 0.0f, 0.3f};
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
    glDeleteProgram(program);
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
