#include "render/TextRenderer.h"

#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"
#include "render/text.frag.glsl.h"
#include "render/text.vert.glsl.h"

#include <ft2build.h>
#include FT_FREETYPE_H

namespace vorn::render {

TextRenderer::TextRenderer(const std::string& fontPath)
    : program_("textShader", glsl_text_vert, nullptr, glsl_text_frag, {"vertex"}, 1) {
    if (FT_Init_FreeType(&library_) != 0) {
        library_ = nullptr;
        platform::debugLine("cannot initialise FreeType");
        return;
    }
    // Read through the platform, not opened by FreeType, so that only a
    // regular file of a sensible size is ever taken.
    std::string whyNot;
    auto bytes = platform::readFile(fontPath, platform::kMaxFontFileBytes, &whyNot);
    if (!bytes) {
        platform::debugLine("cannot open font " + platform::displayPath(fontPath) + ": " + whyNot);
        return;
    }
    fontBytes_ = std::move(*bytes);
    if (FT_New_Memory_Face(library_, fontBytes_.data(), FT_Long(fontBytes_.size()), 0, &face_) != 0) {
        face_ = nullptr;
        platform::debugLine("cannot read font " + platform::displayPath(fontPath) + ": not a font FreeType knows");
    }
}

TextRenderer::~TextRenderer() {
    for (GlyphTable& table : tables_)
        for (Glyph& glyph : table.glyphs)
            if (glyph.texture) glDeleteTextures(1, &glyph.texture);
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

TextRenderer::GlyphTable& TextRenderer::tableFor(int pixelSize) {
    for (GlyphTable& table : tables_)
        if (table.pixelSize == pixelSize) return table;
    tables_.emplace_back();
    tables_.back().pixelSize = pixelSize;
    return tables_.back();
}

// Rasterises the glyph on first use at this size; later draws reuse the
// texture and metrics without touching FreeType.
const TextRenderer::Glyph& TextRenderer::glyphFor(GlyphTable& table, unsigned char c) {
    Glyph& glyph = table.glyphs[c];
    if (glyph.state != Glyph::State::Unloaded) return glyph;

    FT_Set_Pixel_Sizes(face_, 0, FT_UInt(table.pixelSize));
    if (FT_Load_Char(face_, c, FT_LOAD_RENDER) != 0) {
        glyph.state = Glyph::State::Missing;
        return glyph;
    }
    FT_GlyphSlot slot = face_->glyph;
    glyph.state = Glyph::State::Loaded;
    glyph.left = slot->bitmap_left;
    glyph.top = slot->bitmap_top;
    glyph.width = int(slot->bitmap.width);
    glyph.rows = int(slot->bitmap.rows);
    glyph.advanceX = int(slot->advance.x / 64);
    glyph.advanceY = int(slot->advance.y / 64);

    // One byte of coverage per pixel. A red texture swizzled to (0, 0, 0, r)
    // samples like an alpha texture in core and compatibility contexts alike.
    static const GLint swizzle[4] = {GL_ZERO, GL_ZERO, GL_ZERO, GL_RED};
    glGenTextures(1, &glyph.texture);
    glBindTexture(GL_TEXTURE_2D, glyph.texture);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    // Grey bitmaps are normally unpadded; honour a wider pitch should one come.
    int pitch = slot->bitmap.pitch;
    if (pitch > glyph.width) glPixelStorei(GL_UNPACK_ROW_LENGTH, pitch);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, glyph.width, glyph.rows, 0, GL_RED, GL_UNSIGNED_BYTE,
                 slot->bitmap.buffer);
    if (pitch > glyph.width) glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    ++rasterisedGlyphs_;
    return glyph;
}

void TextRenderer::DrawText(float x, float y, int pixelSize, const float color[4],
                            const char* text) {
    if (!face_ || !text || pixelSize < 1) return;
    GlyphTable& table = tableFor(pixelSize);

    const float sx = 2.0f / kScreenWidth;
    const float sy = 2.0f / kScreenHeight;
    float penX = 2.0f * x / kScreenWidth - 1.0f;
    float penY = -(2.0f * y / kScreenHeight - 1.0f);

    glActiveTexture(GL_TEXTURE0);
    glUseProgram(program_.program);
    glUniform1i(UniformLocation(program_, "tex"), 0);
    glUniform4fv(UniformLocation(program_, "color"), 1, color);

    GLuint vertexArray = 0;
    GLuint buffer = 0;
    glGenVertexArrays(1, &vertexArray);
    glGenBuffers(1, &buffer);
    glBindVertexArray(vertexArray);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);

    for (const char* p = text; *p; ++p) {
        const Glyph& glyph = glyphFor(table, static_cast<unsigned char>(*p));
        if (glyph.state != Glyph::State::Loaded) continue;
        glBindTexture(GL_TEXTURE_2D, glyph.texture);

        float left = penX + glyph.left * sx;
        float top = penY + glyph.top * sy;
        float w = glyph.width * sx;
        float h = glyph.rows * sy;
        const float quad[16] = {left,     top,     0, 0, left + w, top,     1, 0,
                                left,     top - h, 0, 1, left + w, top - h, 1, 1};
        glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_DYNAMIC_DRAW);
        glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

        penX += glyph.advanceX * sx;
        penY += glyph.advanceY * sy;
    }

    glDisableVertexAttribArray(0);
    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteVertexArrays(1, &vertexArray);
    glDeleteBuffers(1, &buffer);
    glUseProgram(0);
}

int TextRenderer::MeasureText(int pixelSize, const char* text) {
    if (!face_ || !text || pixelSize < 1) return 0;
    FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixelSize));
    int width = 0;
    for (const char* p = text; *p; ++p) {
        if (FT_Load_Char(face_, static_cast<unsigned char>(*p), FT_LOAD_DEFAULT) != 0) continue;
        width += int(face_->glyph->advance.x / 64);
    }
    return width;
}

}  // namespace vorn::render
