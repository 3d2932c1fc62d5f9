#include "render/TextRenderer.h"

#include "platform/Debug.h"
#include "platform/FontLookup.h"
#include "tests/render/RenderChecks.h"
#include "tests/support/GlFixture.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

using namespace vorn::render;

namespace {

std::string sansFont() { return vorn::platform::findFontFile("DejaVu Sans"); }

// What FreeType itself makes of one character (or glyph index) at a pixel size.
struct Reference {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> bitmap;  // rows x width, top row first
};

Reference reference(int size, unsigned long code, bool byIndex = false) {
    FT_Library library;
    FT_Face face;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    EXPECT_EQ(FT_New_Face(library, sansFont().c_str(), 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(size));
    EXPECT_EQ(byIndex ? FT_Load_Glyph(face, FT_UInt(code), FT_LOAD_RENDER)
                      : FT_Load_Char(face, code, FT_LOAD_RENDER), 0);
    const FT_GlyphSlot slot = face->glyph;
    Reference result{slot->bitmap_left, slot->bitmap_top, int(slot->bitmap.width), int(slot->bitmap.rows),
                     int(slot->advance.x / 64), {}};
    for (int y = 0; y < result.rows; ++y) {
        const uint8_t* row = slot->bitmap.buffer + y * slot->bitmap.pitch;
        result.bitmap.insert(result.bitmap.end(), row, row + result.width);
    }
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return result;
}

}  // namespace

class TextRendererTest : public vorn::test::GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        text = std::make_unique<TextRenderer>(sansFont());  // it builds its program in the context
    }

    std::unique_ptr<TextRenderer> text;
};

TEST_F(TextRendererTest, AGlyphsCoverageSitsUprightAtThePenInTheGivenColourAndNothingAroundIt) {
    ASSERT_TRUE(text->hasFace());
    const Reference h = reference(40, 'H');
    // Drawn without blending, so alpha holds coverage x colour alpha.
    GL_FrameBuffer frame(1920, 1080, 1, 8, GL_RGBA, false, false);
    glBindFramebuffer(GL_FRAMEBUFFER, frame.framebuffer);
    SetDrawBuffers(frame);
    const float colour[4] = {1.0f, 0.5f, 0.25f, 0.5f};
    text->DrawText(100, 200, 40, colour, "H");
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    // The bitmap's place with a margin of 3 pixels; y counts down from the top, GL's rows up.
    const int left = 100 + h.left - 3, top = 200 - h.top - 3, width = h.width + 6, height = h.rows + 6;
    auto pixels = vorn::test::readAttachment8(frame.framebuffer, 0, left, 1080 - top - height, width, height);
    auto at = [&](int i, int j) { return &pixels[(std::size_t(height - 4 - j) * width + std::size_t(i + 3)) * 4]; };
    for (int j = -3; j < h.rows + 3; ++j)
        for (int i = -3; i < h.width + 3; ++i) {
            const bool inside = i >= 0 && i < h.width && j >= 0 && j < h.rows;
            const int expected = inside ? int(h.bitmap[std::size_t(j * h.width + i)] * 0.5f + 0.5f) : 0;
            ASSERT_NEAR(at(i, j)[3], expected, 1) << "bitmap pixel " << i << "," << j;
        }
    const uint8_t* stem = at(1, h.rows / 2);
    EXPECT_EQ(stem[0], 255);
    EXPECT_NEAR(stem[1], 128, 1);
    EXPECT_NEAR(stem[2], 64, 1);
}

TEST_F(TextRendererTest, CharactersArePlacedAndAdvancedAsTheFaceSaysLatin1IncludedEachRasterisedOncePerSize) {
    const Reference glyphs[] = {reference(17, 'A'), reference(17, 'V'), reference(17, 0xe9), reference(17, 0xff)};
    ASSERT_GT(glyphs[2].top, reference(17, 'e').top);  // the accent rises above a plain e
    std::vector<GlyphQuad> quads;
    ASSERT_NE(text->layoutText(300, 400, 17, "AV\xe9\xff", quads), 0u);
    ASSERT_EQ(quads.size(), 4u);
    int pen = 300;  // whole-pixel advances, no kerning
    for (std::size_t i = 0; i < 4; ++i) {
        const Reference& g = glyphs[i];
        EXPECT_EQ(quads[i].left, float(pen + g.left)) << i;
        EXPECT_EQ(quads[i].top, float(400 - g.top)) << i;
        EXPECT_EQ(quads[i].right - quads[i].left, float(g.width)) << i;
        EXPECT_EQ(quads[i].bottom - quads[i].top, float(g.rows)) << i;
        pen += g.advance;
    }
    EXPECT_EQ(text->MeasureText(17, "AV\xe9\xff"), pen - 300);
    EXPECT_EQ(text->MeasureText(30, "\x01"), reference(30, 0, true).advance);  // the face's glyph for what it lacks

    EXPECT_EQ(text->rasterisedGlyphs(), 4);
    text->layoutText(0, 100, 17, "VAV", quads);
    EXPECT_EQ(text->rasterisedGlyphs(), 4);
    text->layoutText(0, 100, 30, "A", quads);
    EXPECT_EQ(text->rasterisedGlyphs(), 5);
}

TEST_F(TextRendererTest, AMissingFontIsLoggedOnceAndDrawsNothing) {
    vorn::platform::DebugCapture capture;
    TextRenderer missing("no/such/font.ttf");
    EXPECT_TRUE(capture.contains("cannot open font no/such/font.ttf: No such file or directory\n")) << capture.text();
    EXPECT_EQ(missing.MeasureText(20, "abc"), 0);
    const float white[4] = {1, 1, 1, 1};
    missing.DrawText(100, 100, 20, white, "abc");  // and raises no GL error (checked when the test ends)
}
