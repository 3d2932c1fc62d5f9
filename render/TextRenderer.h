// Labels in one TrueType face at any pixel size, in pixels of the fixed
// 1920x1080 frame (y down, pen at the glyph's baseline origin). Each glyph is
// rasterised once per size into that size's atlas: one one-channel coverage
// texture holding a 16 x 16 grid of cells, one per byte value. A text is
// therefore a run of quads over one texture, which DrawText draws in one call
// and the UI appends to its own vertex stream (layoutText). Blending is the
// caller's choice.
//
// Texts are 8-bit: every byte value has a slot, bytes are looked up in the
// face as the code points U+0000..U+00FF.
#pragma once

#include "render/ShaderProgram.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace vorn::render {

// One glyph to draw: its rectangle in frame pixels and in the atlas (0..1).
struct GlyphQuad {
    float left, top, right, bottom;
    float u0, v0, u1, v1;
};

class TextRenderer {
public:
    // Opens face 0 of the font file; without it nothing is drawn and every
    // measure is 0 (the failure is logged once).
    explicit TextRenderer(const std::string& fontPath);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    bool hasFace() const { return face_ != nullptr; }

    // Draws the text in one call from the renderer's own vertex buffer.
    void DrawText(float x, float y, int pixelSize, const float color[4], const char* text);
    // Sum of the whole-pixel horizontal advances of the characters the face loads.
    int MeasureText(int pixelSize, const char* text);

    // Appends the text's glyph quads (pen at x, y) and returns the atlas they
    // sample, whose texels are (1, 1, 1, coverage); 0 when nothing can be drawn.
    GLuint layoutText(float x, float y, int pixelSize, const char* text, std::vector<GlyphQuad>& quads);

    // Glyphs rasterised so far over all sizes (each at most once per size).
    int rasterisedGlyphs() const { return rasterisedGlyphs_; }

    static constexpr int kScreenWidth = 1920;
    static constexpr int kScreenHeight = 1080;

private:
    struct Glyph {
        enum class State : unsigned char { Unloaded, Loaded, Missing };
        State state = State::Unloaded;
        int left = 0, top = 0, width = 0, rows = 0;  // bitmap placement in pixels
        int advanceX = 0, advanceY = 0;              // whole pixels
        float u0 = 0, v0 = 0, u1 = 0, v1 = 0;        // the bitmap's place in the atlas
    };
    struct GlyphTable {
        int pixelSize = 0;
        GLuint atlas = 0;
        int cellWidth = 0, cellHeight = 0, atlasWidth = 0, atlasHeight = 0;
        std::array<Glyph, 256> glyphs{};
        std::array<int, 256> advances{};  // MeasureText's cache; -1 until asked
    };

    GlyphTable& tableFor(int pixelSize);
    const Glyph& glyphFor(GlyphTable& table, unsigned char c);

    std::vector<std::unique_ptr<GlyphTable>> tables_;
    FT_LibraryRec_* library_ = nullptr;
    std::vector<uint8_t> fontBytes_;  // the face reads from these for as long as it lives
    FT_FaceRec_* face_ = nullptr;
    ShaderProgram program_;
    GLuint vertexArray_ = 0;
    GLuint buffer_ = 0;
    std::vector<GlyphQuad> quads_;
    std::vector<float> vertices_;
    int rasterisedGlyphs_ = 0;
};

}  // namespace vorn::render
