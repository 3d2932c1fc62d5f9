// The UI's drawing services and input dispatch, shared by every widget: an
// orthographic 1920x1080 pixel space (origin top-left, y down), a flat and a
// textured program, the palette and the two fonts, the modifier flags and the
// capture. Each primitive uploads its few vertices into a vertex array made for
// that call and deletes it again: the UI draws little, and nothing is cached
// across contexts.
#pragma once

#include "platform/WindowMessages.h"
#include "render/Matrix.h"
#include "render/ShaderProgram.h"
#include "render/TextRenderer.h"
#include "ui/UI_Event.h"
#include "ui/UI_Object.h"

#include <GL/glew.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace vorn::ui {

using Color = std::array<float, 4>;

// Fixed colours; index 9 is the highlight (selection outlines, handle labels).
inline constexpr std::array<Color, 10> kPalette = {{
    {0.95f, 0.95f, 0.95f, 1.0f},
    {0.05f, 0.05f, 0.05f, 1.0f},
    {0.5f, 0.5f, 0.5f, 1.0f},
    {0.2f, 0.2f, 0.2f, 1.0f},
    {0.1f, 0.1f, 0.1f, 1.0f},
    {0.7f, 0.5f, 0.2f, 1.0f},
    {0.5f, 0.5f, 0.6f, 1.0f},
    {0.95f, 0.95f, 0.95f, 1.0f},
    {0.25f, 0.25f, 0.25f, 1.0f},
    {1.0f, 0.7f, 0.0f, 1.0f},
}};

// x in [0, width] to [-1, 1], y in [0, height] to [1, -1], depth near -1 / far 1.
render::Mat4 uiProjection(int width, int height);

class UI_Master {
public:
    UI_Master();
    ~UI_Master();
    UI_Master(const UI_Master&) = delete;
    UI_Master& operator=(const UI_Master&) = delete;

    // Programs, palette, fonts and clip rectangle for a screen of that size.
    void init(int width, int height);

    void addTopLevel(UI_Object* widget);

    // Blending (SRC_ALPHA, ONE_MINUS_SRC_ALPHA), the full viewport and the
    // projection in both programs.
    void beginFrame();
    // The viewport and both programs' projection and sampler, without touching
    // blending: what any screen-space draw needs, whatever drew before it.
    void loadScreenSpace();

    void setColor(const Color& rgba);
    void fillRect(int x, int y, int w, int h);
    // Samples the texture bound to unit 0; texture coordinate (0, 0) at (x, y)
    // unless flipped vertically.
    void drawTexturedRect(int x, int y, int w, int h, bool flip);
    void strokeRect(int x, int y, int w, int h);
    void fillTriangle(int x1, int y1, int x2, int y2, int x3, int y3);
    void drawLine(float width, int x1, int y1, int x2, int y2);
    void strokeCircle(int cx, int cy, int r);

    // Window message to event: updates the mouse position and the modifier
    // flags as the message says. False (and no event) for messages the UI
    // does not take.
    bool translate(uint32_t message, platform::WParam wParam, platform::LParam lParam, UI_Event& event);
    // To the capture widget alone while one is set; otherwise to the top-level
    // widgets in order (those under the mouse, or all of them for key events)
    // until one consumes it.
    void dispatch(const UI_Event& event);

    std::vector<UI_Object*> topLevel;
    int32_t screenWidth = 1920;
    int32_t screenHeight = 1080;
    Color currentColor{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<Color, 10> palette = kPalette;
    std::array<std::unique_ptr<render::TextRenderer>, 2> fonts;  // [0] verdana, [1] courier
    std::unique_ptr<render::ShaderProgram> uiShader;
    std::unique_ptr<render::ShaderProgram> uiTexturedShader;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    uint8_t ctrl = 0;
    uint8_t shift = 0;
    UI_Object* capture = nullptr;
    bool captureOnTop = false;
    std::array<int32_t, 4> clipRect{-1000, -1000, 999999, 999999};

private:
    // Draws count (x, y) vertices, with (u, v) pairs when uv is given, and
    // leaves no program bound.
    void drawVertices(const render::ShaderProgram& program, GLenum mode, const float* xy, int count,
                      const float* uv);
};

}  // namespace vorn::ui
