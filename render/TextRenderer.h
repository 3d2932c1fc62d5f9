// Labels in one TrueType face at any pixel size, in pixels of the fixed
// 1920x1080 frame (y down, pen at the glyph's baseline origin). Each glyph is
// rasterised once per size into its own one-channel coverage texture and drawn
// as a quad in a single colour. Blending is the caller's choice.
//
// Texts are 8-bit: every byte value has a slot, bytes are looked up in the
// face as the code points U+0000..U+00FF.
#pragma once

#include "render/ShaderProgram.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

struct FT_LibraryRec_;
struct FT_FaceRec_;

namespace vorn::render {

class TextRenderer {
public:
    // Opens face 0 of the font file; without it nothing is drawn and every
    // measure is 0 (the failure is logged once).
    explicit TextRenderer(const std::string& fontPath);
    ~TextRenderer();
    TextRenderer(const TextRenderer&) = delete;
    TextRenderer& operator=(const TextRenderer&) = delete;

    bool hasFace() const { return face_ != nullptr; }

    void DrawText(float x, float y, int pixelSize, const float color[4], const char* text);
    // Sum of the whole-pixel horizontal advances of the characters the face loads.
    int MeasureText(int pixelSize, const char* text);

    // Glyphs rasterised so far over all sizes (each at most once per size).
    int rasterisedGlyphs() const { return rasterisedGlyphs_; }

    static constexpr int kScreenWidth = 1920;
    static constexpr int kScreenHeight = 1080;

private:
    struct Glyph {
        enum class State : unsigned char { Unloaded, Loaded, Missing };
        State state = State::Unloaded;
        GLuint texture = 0;
        int left = 0, top = 0, width = 0, rows = 0;  // bitmap placement in pixels
        int advanceX = 0, advanceY = 0;              // whole pixels
    };
    struct GlyphTable {
        int pixelSize = 0;
        std::array<Glyph, 256> glyphs{};
    };

    GlyphTable& tableFor(int pixelSize);
    const Glyph& glyphFor(GlyphTable& table, unsigned char c);

    std::vector<GlyphTable> tables_;
    FT_LibraryRec_* library_ = nullptr;
    std::vector<uint8_t> fontBytes_;  // the face reads from these for as long as it lives
    FT_FaceRec_* face_ = nullptr;
    ShaderProgram program_;
    int rasterisedGlyphs_ = 0;
};

}  // namespace vorn::render
