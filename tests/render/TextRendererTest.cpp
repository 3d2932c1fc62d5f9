#include "render/TextRenderer.h"

#include "platform/Debug.h"
#include "platform/FontLookup.h"
#include "render/GL_FrameBuffer.h"
#include "render/Quads.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlFixture.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn::render;
using vorn::test::readAttachment8;
using vorn::test::readAttachmentFloat;
using vorn::platform::DebugCapture;

namespace {

constexpr int kW = 1920;
constexpr int kH = 1080;

std::string sansFont() { return vorn::platform::findFontFile("DejaVu Sans"); }

// What FreeType itself says about one character, for placement and advances.
struct Reference {
    int left = 0, top = 0, width = 0, rows = 0, advance = 0;
    std::vector<uint8_t> bitmap;  // rows x width, top row first
};

Reference reference(const std::string& font, int size, unsigned long code, bool byIndex = false) {
    Reference result;
    FT_Library library;
    FT_Face face;
    EXPECT_EQ(FT_Init_FreeType(&library), 0);
    EXPECT_EQ(FT_New_Face(library, font.c_str(), 0, &face), 0);
    FT_Set_Pixel_Sizes(face, 0, size);
    EXPECT_EQ(byIndex ? FT_Load_Glyph(face, FT_UInt(code), FT_LOAD_RENDER) : FT_Load_Char(face, code, FT_LOAD_RENDER), 0);
    FT_GlyphSlot slot = face->glyph;
    result = {slot->bitmap_left, slot->bitmap_top, int(slot->bitmap.width), int(slot->bitmap.rows),
              int(slot->advance.x / 64), {}};
    for (int y = 0; y < result.rows; ++y)
        for (int x = 0; x < result.width; ++x) result.bitmap.push_back(slot->bitmap.buffer[y * slot->bitmap.pitch + x]);
    FT_Done_Face(face);
    FT_Done_FreeType(library);
    return result;
}

// A cleared 1920x1080 frame that text is drawn into without blending, so the
// alpha channel holds coverage x colour alpha.
class Frame {
public:
    Frame() : target_(kW, kH, 1, 8, GL_RGBA, false, false) {
        glBindFramebuffer(GL_FRAMEBUFFER, target_.framebuffer);
        SetDrawBuffers(target_);
        glViewport(0, 0, kW, kH);
        glDisable(GL_BLEND);
        glClearColor(0, 0, 0, 0);
        glClear(GL_COLOR_BUFFER_BIT);
    }
    ~Frame() { glBindFramebuffer(GL_FRAMEBUFFER, 0); }

    // Pixels with y counted downwards from the top, as the text renderer does.
    void read() {
        auto raw = readAttachment8(target_.framebuffer, 0, 0, 0, kW, kH);
        pixels_.resize(raw.size());
        for (int row = 0; row < kH; ++row)
            std::copy_n(raw.begin() + std::size_t(row) * kW * 4, kW * 4,
                        pixels_.begin() + std::size_t(kH - 1 - row) * kW * 4);
        glBindFramebuffer(GL_FRAMEBUFFER, target_.framebuffer);
    }
    const uint8_t* at(int x, int y) const { return &pixels_[(std::size_t(y) * kW + x) * 4]; }
    int alpha(int x, int y) const { return at(x, y)[3]; }

    struct Box {
        int left = kW, top = kH, right = -1, bottom = -1;  // inclusive
        bool empty() const { return right < 0; }
    };
    Box coverage() const {
        Box box;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x)
                if (alpha(x, y) > 0) {
                    box.left = std::min(box.left, x);
                    box.right = std::max(box.right, x);
                    box.top = std::min(box.top, y);
                    box.bottom = std::max(box.bottom, y);
                }
        return box;
    }

private:
    GL_FrameBuffer target_;
    std::vector<uint8_t> pixels_;
};

const float kWhite[4] = {1, 1, 1, 1};

}  // namespace

class TextDrawing : public vorn::test::GlTest {};
class TextGlyphCache : public vorn::test::GlTest {};
class TextHighBytes : public vorn::test::GlTest {};
class TextWithoutFace : public vorn::test::GlTest {};
class TextMeasuring : public vorn::test::GlTest {};

TEST_F(TextDrawing, GlyphCoverageSitsAtThePenWithItsBodyAboveTheBaseline) {
    std::string font = sansFont();
    ASSERT_FALSE(font.empty());
    TextRenderer text(font);
    ASSERT_TRUE(text.hasFace());
    Reference h = reference(font, 40, 'H');
    ASSERT_GT(h.rows, 0);

    Frame frame;
    const float colour[4] = {1.0f, 0.5f, 0.25f, 0.5f};
    text.DrawText(100, 200, 40, colour, "H");
    frame.read();

    // Every bitmap pixel lands at (x + left + i, y - top + j), upright.
    for (int j = 0; j < h.rows; ++j)
        for (int i = 0; i < h.width; ++i) {
            int expected = int(h.bitmap[j * h.width + i] * 0.5f + 0.5f);
            ASSERT_NEAR(frame.alpha(100 + h.left + i, 200 - h.top + j), expected, 1) << i << "," << j;
        }
    Frame::Box box = frame.coverage();
    EXPECT_GE(box.left, 100 + h.left);
    EXPECT_LT(box.right, 100 + h.left + h.width);
    EXPECT_GE(box.top, 200 - h.top);
    EXPECT_LT(box.bottom, 200) << "an H has nothing below its baseline";
    // Colour is the given one wherever the glyph covers.
    const uint8_t* inside = frame.at(100 + h.left + 1, 200 - h.top + h.rows / 2);
    EXPECT_EQ(inside[0], 255);
    EXPECT_NEAR(inside[1], 128, 1);
    EXPECT_NEAR(inside[2], 64, 1);
}

TEST_F(TextDrawing, EachCharacterMovesThePenByItsAdvanceAndTextAtTheOriginIsAboveTheFrame) {
    TextRenderer text(sansFont());
    int step = text.MeasureText(40, "l");
    ASSERT_GT(step, 0);
    Frame one;
    text.DrawText(300, 400, 40, kWhite, "l");
    one.read();
    Frame two;
    text.DrawText(300, 400, 40, kWhite, "ll");
    two.read();
    EXPECT_EQ(two.coverage().right - one.coverage().right, step);
    EXPECT_EQ(two.coverage().left, one.coverage().left);
    Frame origin;
    text.DrawText(0, 0, 40, kWhite, "HHH");
    origin.read();
    EXPECT_TRUE(origin.coverage().empty());
}

TEST_F(TextMeasuring, WidthIsTheSumOfWholePixelAdvancesWithoutKerning) {
    std::string font = sansFont();
    TextRenderer text(font);
    int a = reference(font, 17, 'A').advance, v = reference(font, 17, 'V').advance;
    int missing = reference(font, 30, 0, true).advance;  // the face's glyph for what it lacks
    ASSERT_GT(missing, 0);
    EXPECT_EQ(text.MeasureText(17, "AV"), a + v);
    EXPECT_EQ(text.MeasureText(17, ""), 0);
    EXPECT_EQ(text.MeasureText(30, "\x01"), missing);
    EXPECT_EQ(text.MeasureText(40, "\xe9"), reference(font, 40, 0xe9).advance);  // bytes above 127 are Latin-1
}

TEST_F(TextGlyphCache, EachCharacterIsRasterisedOncePerSize) {
    TextRenderer text(sansFont());
    Frame frame;
    text.DrawText(10, 100, 12, kWhite, "abca");
    EXPECT_EQ(text.rasterisedGlyphs(), 3);
    text.DrawText(10, 200, 12, kWhite, "abca");
    EXPECT_EQ(text.rasterisedGlyphs(), 3);
    text.MeasureText(12, "xyz");
    EXPECT_EQ(text.rasterisedGlyphs(), 3);
    text.DrawText(10, 300, 20, kWhite, "ab");
    EXPECT_EQ(text.rasterisedGlyphs(), 5);
    frame.read();
    int ink = 0;  // the second draw at 12 still drew, from the cache
    for (int x = 10; x < 60; ++x) ink += frame.alpha(x, 195) > 0 ? 1 : 0;
    EXPECT_GT(ink, 0);
}

TEST_F(TextHighBytes, BytesAbove127AreLatin1CharactersWithTheirOwnGlyphs) {
    std::string font = sansFont();
    TextRenderer text(font);
    Frame frame;
    text.DrawText(500, 500, 40, kWhite, "e\xe9\xff");
    EXPECT_EQ(text.rasterisedGlyphs(), 3);
    frame.read();
    // The accent rises above the plain e: the ink's top is the acute's.
    Reference acute = reference(font, 40, 0xe9);
    Reference plain = reference(font, 40, 'e');
    EXPECT_GT(acute.top, plain.top);
    EXPECT_LE(frame.coverage().top, 500 - acute.top + 1);
}

TEST_F(TextWithoutFace, MissingFontIsLoggedOnceAndDrawsNothing) {
    DebugCapture capture;
    TextRenderer text("no/such/font.ttf");
    EXPECT_FALSE(text.hasFace());
    EXPECT_NE(capture.text().find("cannot open font no/such/font.ttf: No such file or directory\n"), std::string::npos)
        << capture.text();
    EXPECT_EQ(text.MeasureText(20, "abc"), 0);
    Frame frame;
    text.DrawText(100, 100, 20, kWhite, "abc");
    frame.read();
    EXPECT_TRUE(frame.coverage().empty());
}
