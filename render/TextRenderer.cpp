#include "render/TextRenderer.h"

#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"
#include "render/text.frag.glsl.h"
#include "render/text.vert.glsl.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace vorn::render {

namespace {

// Cells per atlas row and column: one cell for each byte value.
constexpr int kGrid = 16;

}  // namespace

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
    for (auto& table : tables_)
        if (table->atlas) glDeleteTextures(1, &table->atlas);
    if (buffer_) glDeleteBuffers(1, &buffer_);
    if (vertexArray_) glDeleteVertexArrays(1, &vertexArray_);
    if (face_) FT_Done_Face(face_);
    if (library_) FT_Done_FreeType(library_);
}

// A size's table and its atlas, made on the first use of the size: cells as
// large as the face's bounding box at that size, one texel of empty border
// between them so linear filtering never reaches a neighbour.
TextRenderer::GlyphTable& TextRenderer::tableFor(int pixelSize) {
    for (auto& table : tables_)
        if (table->pixelSize == pixelSize) return *table;
    auto table = std::make_unique<GlyphTable>();
    table->pixelSize = pixelSize;
    table->advances.fill(-1);
    FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixelSize));
    const FT_Size_Metrics& metrics = face_->size->metrics;
    int boxWidth = int(FT_MulFix(face_->bbox.xMax - face_->bbox.xMin, metrics.x_scale) + 63) / 64;
    int boxHeight = int(FT_MulFix(face_->bbox.yMax - face_->bbox.yMin, metrics.y_scale) + 63) / 64;
    // Bitmap faces have no outline box; their glyphs fit in the size itself.
    table->cellWidth = std::max(boxWidth, pixelSize) + 2;
    table->cellHeight = std::max(boxHeight, pixelSize) + 2;
    table->atlasWidth = kGrid * (table->cellWidth + 1) + 1;
    table->atlasHeight = kGrid * (table->cellHeight + 1) + 1;

    std::vector<uint8_t> empty(std::size_t(table->atlasWidth) * std::size_t(table->atlasHeight), 0);
    // Coverage in red, sampled as (1, 1, 1, coverage): a colour times the
    // texel is the colour with its alpha weighted by the coverage.
    static const GLint swizzle[4] = {GL_ONE, GL_ONE, GL_ONE, GL_RED};
    glGenTextures(1, &table->atlas);
    glBindTexture(GL_TEXTURE_2D, table->atlas);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_R8, table->atlasWidth, table->atlasHeight, 0, GL_RED, GL_UNSIGNED_BYTE,
                 empty.data());
    glTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_SWIZZLE_RGBA, swizzle);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glBindTexture(GL_TEXTURE_2D, 0);
    tables_.push_back(std::move(table));
    return *tables_.back();
}

// Rasterises the glyph into its cell on first use at this size; later draws
// reuse the cell and metrics without touching FreeType.
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
    // A glyph larger than the face's box (hinting may add a pixel) keeps what fits.
    glyph.width = std::min(int(slot->bitmap.width), table.cellWidth);
    glyph.rows = std::min(int(slot->bitmap.rows), table.cellHeight);
    glyph.advanceX = int(slot->advance.x / 64);
    glyph.advanceY = int(slot->advance.y / 64);
    table.advances[c] = glyph.advanceX;

    int cellX = 1 + (c % kGrid) * (table.cellWidth + 1);
    int cellY = 1 + (c / kGrid) * (table.cellHeight + 1);
    glyph.u0 = float(cellX) / float(table.atlasWidth);
    glyph.v0 = float(cellY) / float(table.atlasHeight);
    glyph.u1 = float(cellX + glyph.width) / float(table.atlasWidth);
    glyph.v1 = float(cellY + glyph.rows) / float(table.atlasHeight);
    if (glyph.width > 0 && glyph.rows > 0) {
        glBindTexture(GL_TEXTURE_2D, table.atlas);
        glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, slot->bitmap.pitch);
        glTexSubImage2D(GL_TEXTURE_2D, 0, cellX, cellY, glyph.width, glyph.rows, GL_RED, GL_UNSIGNED_BYTE,
                        slot->bitmap.buffer);
        glPixelStorei(GL_UNPACK_ROW_LENGTH, 0);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    ++rasterisedGlyphs_;
    return glyph;
}

GLuint TextRenderer::layoutText(float x, float y, int pixelSize, const char* text, std::vector<GlyphQuad>& quads) {
    if (!face_ || !text || pixelSize < 1) return 0;
    GlyphTable& table = tableFor(pixelSize);
    for (const char* p = text; *p; ++p) {
        const Glyph& glyph = glyphFor(table, static_cast<unsigned char>(*p));
        if (glyph.state != Glyph::State::Loaded) continue;
        if (glyph.width > 0 && glyph.rows > 0) {
            float left = x + float(glyph.left), top = y - float(glyph.top);
            quads.push_back({left, top, left + float(glyph.width), top + float(glyph.rows), glyph.u0, glyph.v0,
                             glyph.u1, glyph.v1});
        }
        x += float(glyph.advanceX);
        y -= float(glyph.advanceY);
    }
    return table.atlas;
}

void TextRenderer::DrawText(float x, float y, int pixelSize, const float color[4], const char* text) {
    quads_.clear();
    GLuint atlas = layoutText(x, y, pixelSize, text, quads_);
    if (!atlas || quads_.empty()) return;

    // Frame pixels to clip space; two triangles per glyph.
    auto clipX = [](float px) { return 2.0f * px / kScreenWidth - 1.0f; };
    auto clipY = [](float py) { return 1.0f - 2.0f * py / kScreenHeight; };
    vertices_.clear();
    for (const GlyphQuad& q : quads_) {
        const float corners[4][4] = {{clipX(q.left), clipY(q.top), q.u0, q.v0},
                                     {clipX(q.right), clipY(q.top), q.u1, q.v0},
                                     {clipX(q.right), clipY(q.bottom), q.u1, q.v1},
                                     {clipX(q.left), clipY(q.bottom), q.u0, q.v1}};
        for (int corner : {0, 1, 2, 0, 2, 3}) vertices_.insert(vertices_.end(), corners[corner], corners[corner] + 4);
    }

    // The vertex array and buffer are made once and kept: drawing creates no GL objects.
    if (!vertexArray_) {
        glGenVertexArrays(1, &vertexArray_);
        glGenBuffers(1, &buffer_);
        glBindVertexArray(vertexArray_);
        glBindBuffer(GL_ARRAY_BUFFER, buffer_);
        glEnableVertexAttribArray(0);
        glVertexAttribPointer(0, 4, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    }
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, atlas);
    glUseProgram(program_.program);
    glUniform1i(UniformLocation(program_, "tex"), 0);
    glUniform4fv(UniformLocation(program_, "color"), 1, color);
    glBindVertexArray(vertexArray_);
    glBindBuffer(GL_ARRAY_BUFFER, buffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices_.size() * sizeof(float)), vertices_.data(), GL_STREAM_DRAW);
    glDrawArrays(GL_TRIANGLES, 0, GLsizei(vertices_.size() / 4));

    glBindTexture(GL_TEXTURE_2D, 0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
}

int TextRenderer::MeasureText(int pixelSize, const char* text) {
    if (!face_ || !text || pixelSize < 1) return 0;
    GlyphTable& table = tableFor(pixelSize);
    int width = 0;
    for (const char* p = text; *p; ++p) {
        int& advance = table.advances[static_cast<unsigned char>(*p)];
        if (advance < 0) {
            // Loading without rendering: measuring rasterises nothing.
            FT_Set_Pixel_Sizes(face_, 0, FT_UInt(pixelSize));
            advance = FT_Load_Char(face_, static_cast<unsigned char>(*p), FT_LOAD_DEFAULT) == 0
                          ? int(face_->glyph->advance.x / 64)
                          : 0;
        }
        width += advance;
    }
    return width;
}

}  // namespace vorn::render
