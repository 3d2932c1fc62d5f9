// The UI's drawing services and input dispatch, shared by every widget: an
// orthographic 1920x1080 pixel space (origin top-left, y down), the palette
// and the two fonts, the modifier flags, the capture and the node aliases.
//
// Primitives are not drawn one by one: each appends its triangles or lines,
// with its colour and the texture it samples (up to four per draw: pictures
// and the glyph atlases of the sizes in use), to one vertex stream that the
// master owns and sends to GL in as few draws as the order of the primitives
// allows (flush). A frame thus creates no GL objects, and hundreds of widgets
// cost a handful of draws.
// Whoever changes GL state between primitives (blending, scissor, textures
// for its own draws) flushes first; setBlendFunc and setClip do it for them.
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
#include <string>
#include <string_view>
#include <unordered_map>
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

    // Program, vertex stream, palette, fonts and clip rectangle for a screen of that size.
    void init(int width, int height);

    void addTopLevel(UI_Object* widget);
    void removeTopLevel(UI_Object* widget);

    // Blending (SRC_ALPHA, ONE_MINUS_SRC_ALPHA), the full viewport and the
    // projection.
    void beginFrame();
    // The viewport and the program's projection and sampler, without touching
    // blending: what any screen-space draw needs, whatever drew before it.
    void loadScreenSpace();
    // Draws what the primitives have appended so far.
    void flush();

    void setColor(const Color& rgba);
    void fillRect(int x, int y, int w, int h);
    // Samples the texture bound to unit 0 now; texture coordinate (0, 0) at
    // (x, y) unless flipped vertically. Drawn at once, between flushes.
    void drawTexturedRect(int x, int y, int w, int h, bool flip);
    void strokeRect(int x, int y, int w, int h);
    void fillTriangle(int x1, int y1, int x2, int y2, int x3, int y3);
    void drawLine(float width, int x1, int y1, int x2, int y2);
    void strokeCircle(int cx, int cy, int r);
    // Text in fonts[font] with the pen (baseline origin) at (x, y).
    void drawText(int font, float x, float y, int pixelSize, const Color& rgba, std::string_view text);
    int measureText(int font, int pixelSize, std::string_view text);

    // Flushes, then changes the blend function or the scissor rectangle
    // (window pixels from the top-left; clearClip turns the scissor off).
    void setBlendFunc(GLenum source, GLenum destination);
    void setClip(int x, int y, int w, int h);
    void clearClip();

    // The alias shown for a node name: its entry in nameAlias, else the name.
    const std::string& aliasOf(const std::string& nodeName) const;

    // Window message to event: updates the mouse position and the modifier
    // flags as the message says. False (and no event) for messages the UI
    // does not take.
    bool translate(uint32_t message, platform::WParam wParam, platform::LParam lParam, UI_Event& event);
    // To the capture widget alone while one is set; otherwise to the visible
    // top-level widgets in order (those under the mouse, or all of them for
    // key events) until one consumes it.
    void dispatch(const UI_Event& event);

    // Draw calls, vertices, and CPU seconds of this thread spent handing vertices to GL
    // (the driver's share of a frame), since beginFrame.
    struct FrameStats {
        int draws = 0;
        int vertices = 0;
        double submitSeconds = 0.0;
    };
    const FrameStats& frameStats() const { return stats_; }

    std::vector<UI_Object*> topLevel;
    int32_t screenWidth = 1920;
    int32_t screenHeight = 1080;
    Color currentColor{1.0f, 1.0f, 1.0f, 1.0f};
    std::array<Color, 10> palette = kPalette;
    std::array<std::unique_ptr<render::TextRenderer>, 2> fonts;  // [0] verdana, [1] courier
    std::unique_ptr<render::ShaderProgram> uiShader;
    int32_t mouseX = 0;
    int32_t mouseY = 0;
    uint8_t ctrl = 0;
    uint8_t shift = 0;
    UI_Object* capture = nullptr;
    bool captureOnTop = false;
    std::array<int32_t, 4> clipRect{-1000, -1000, 999999, 999999};
    // Display names of nodes, by node name; also part of sync track names.
    std::unordered_map<std::string, std::string> nameAlias;

private:
    struct Vertex {
        float x, y, u, v;
        Color colour;
        float textured;
    };
    void append(GLenum mode, GLuint texture, const float* xy, int count, const float* uv);
    void appendTriangleFan(const float* xy, int count, const float* uv, GLuint texture);

    GLuint vertexArray_ = 0;
    GLuint buffer_ = 0;
    std::vector<Vertex> vertices_;
    GLenum batchMode_ = GL_TRIANGLES;
    // The textures the batch samples, bound to units 0.. when it is drawn.
    static constexpr std::size_t kTextureSlots = 4;
    std::array<GLuint, kTextureSlots> batchTextures_{};
    std::size_t batchTextureCount_ = 0;
    std::vector<render::GlyphQuad> glyphs_;
    std::string textScratch_;
    FrameStats stats_;
};

}  // namespace vorn::ui
