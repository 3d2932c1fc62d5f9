#include "nodes/image/EffectLibrary.h"

#include "nodes/image/effect.vert.glsl.h"
#include "render/ShaderProgram.h"
#include "tests/nodes/image/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn::test {
namespace {

constexpr float kHalfFloat = 2e-3f;  // the targets hold 16-bit floats

// A column encoded in two channels with values exact in half floats.
Colour columnCode(int x) { return {float(x % 64) / 64.0f, float(x / 64) / 32.0f, 0.5f, 1.0f}; }
int decodeColumn(const Colour& c) { return int(std::lround(c[0] * 64.0f)) + 64 * int(std::lround(c[1] * 32.0f)); }

class EffectLibraryOnMesa : public ShaderNodeTest {};

TEST_F(EffectLibraryOnMesa, EveryEntryBuildsWithTheEffectVertexStage) {
    for (const std::string& name : nodes::effectLibraryNames()) {
        render::ShaderProgram program(name, glsl_effect_vert, nullptr, nodes::effectLibrarySource(name)->c_str(),
                                      {"vertex", "uv"}, 1);
        EXPECT_TRUE(program.valid) << name;
    }
}

const char kColorCorrect[] =
    "Name \"Levels\" \"Levels\"\n"
    "Input 0, \"Source\" \"rgba\"\n"
    "Param 0, \"Gamma\" float, 0.1, 4.0, 1.0\n"
    "Param 1, \"Blackpoint\" float, 0.0, 1.0, 0.0\n"
    "Param 2, \"Whitepoint\" float, 0.0, 1.0, 1.0\n"
    "Param 3, \"Exp_R\" float, 0.0, 4.0, 1.0\n"
    "Param 4, \"Exp_G\" float, 0.0, 4.0, 1.0\n"
    "Param 5, \"Exp_B\" float, 0.0, 4.0, 1.0\n"
    "Param 6, \"Brightness\" float, 0.0, 4.0, 1.0\n"
    "Param 7, \"Contrast\" float, 0.0, 4.0, 1.0\n"
    "Param 8, \"LowColor\" color, 0.0, 0.0, 0.0, 0.0\n"
    "Param 9, \"HiColor\" color, 1.0, 1.0, 1.0, 1.0\n"
    "SourceLib ColorCorrect\n";

TEST_F(EffectLibraryOnMesa, ColorCorrectAppliesRangeExponentContrastAndBrightness) {
    addPicture("In", solidPicture({0.6f, 0.6f, 0.6f, 1.0f}));
    auto* levels = addShader("Levels", kColorCorrect);
    ASSERT_TRUE(engine.connect("In", "Levels", 0));
    std::copy_n(std::array<float, 4>{0.1f, 0.1f, 0.1f, 0.0f}.data(), 4, param(*levels, "LowColor").colour);
    std::copy_n(std::array<float, 4>{0.5f, 0.5f, 0.5f, 1.0f}.data(), 4, param(*levels, "HiColor").colour);
    param(*levels, "Exp_R").value = 2.0f;
    param(*levels, "Contrast").value = 2.0f;
    param(*levels, "Brightness").value = 0.5f;
    runFrame(*levels);
    // 0.6 x 0.4 + 0.1 = 0.34; red squared 0.1156; contrast 2 about 0.5; halved.
    const float red = ((0.1156f - 0.5f) * 2.0f + 0.5f) * 0.5f;
    const float other = ((0.34f - 0.5f) * 2.0f + 0.5f) * 0.5f;
    EXPECT_TRUE(closeTo(imagePixel(levels->images[0], 700, 300), {red, other, other, 1.0f}, kHalfFloat));
}

const char kGlitch[] =
    "Name \"Glitch\" \"Glitch\"\n"
    "Param 0, \"StripCount\" float, 0.0, 1.0, 0.5\n"
    "Param 1, \"StripIntensity\" float, 0.0, 1.0, 1.0\n"
    "Param 2, \"BlockCount\" float, 0.0, 1.0, 0.5\n"
    "Param 3, \"BlockWidth\" float, 0.0, 1.0, 0.2\n"
    "Param 4, \"BlockIntensity\" float, 0.0, 1.0, 0.0\n"
    "Param 5, \"StripTranslationIntensity\" float, 0.0, 1.0, 0.5\n"
    "Param 6, \"Intensity\" float, 0.0, 1.0, 0.0\n"
    "Param 7, \"RandOffset\" position, 0.3, 0.7\n"
    "SourceLib DigitalGlitch\n";

TEST_F(EffectLibraryOnMesa, DigitalGlitchAtIntensityZeroIsOpaqueBlack) {
    auto* glitch = addShader("Glitch", kGlitch);
    param(*glitch, "BlockIntensity").value = 1.0f;
    runFrame(*glitch);
    for (int y = 5; y < kHeight; y += 97)
        for (int x = 3; x < kWidth; x += 131)
            ASSERT_TRUE(closeTo(imagePixel(glitch->images[0], x, y), {0, 0, 0, 1}, 0.0f)) << x << ", " << y;
}

TEST_F(EffectLibraryOnMesa, DigitalGlitchStripesColourWholeRowsInOnePrimary) {
    auto* glitch = addShader("Glitch", kGlitch);
    param(*glitch, "Intensity").value = 1.0f;  // strip intensity 1: every stripe is coloured
    runFrame(*glitch);
    // Stripe 0 hashes to exactly 0 and is never coloured; the 14 others always are.
    for (int y = 80; y < kHeight; y += 71) {
        Colour first = imagePixel(glitch->images[0], 0, y);
        int primaries = 0;
        for (int i = 0; i < 3; ++i) {
            EXPECT_TRUE(first[std::size_t(i)] == 0.0f || first[std::size_t(i)] == 1.0f);
            primaries += first[std::size_t(i)] == 1.0f;
        }
        EXPECT_EQ(primaries, 1) << "row " << y;
        EXPECT_EQ(first[3], 1.0f);
        for (int x = 200; x < kWidth; x += 400) EXPECT_EQ(imagePixel(glitch->images[0], x, y), first) << x << ", " << y;
    }
}

const char kDirectionalBlur[] =
    "Name \"Smear\" \"Smear\"\n"
    "Input 0, \"Source\" \"rgba\"\n"
    "Input 1, \"Intensity\" \"rgba\"\n"
    "Param 0, \"Length\" float, 0.0, 100.0, 0.0\n"
    "Param 1, \"Quality\" float, 0.0, 4.0, 1.0\n"
    "Param 2, \"Mask\" float, 0.0, 1.0, 0.0\n"
    "Param 3, \"Direction\" direction, 1.0, 0.0\n"
    "SourceLib DirectionalBlur\n";

// The triangle weight of tap f at reach l.
float tapWeight(float f, float l) {
    float w = 1.0f - std::abs(f) / l;
    return w * w;
}

TEST_F(EffectLibraryOnMesa, DirectionalBlurWeighsTapsByATriangleAndTheMaskScalesTheLength) {
    addPicture("In", columnPicture([](int x) { return x < 960 ? Colour{0, 0, 0, 1} : Colour{1, 1, 1, 1}; }));
    auto* blur = addShader("Smear", kDirectionalBlur);
    ASSERT_TRUE(engine.connect("In", "Smear", 0));
    param(*blur, "Length").value = 4.0f;
    runFrame(*blur);
    auto expectedAt = [](int x) {
        float sum = 0.0f, weights = 0.0f;
        for (int f = -4; f <= 4; ++f) {
            weights += tapWeight(float(f), 4.0f);
            sum += x + f >= 960 ? tapWeight(float(f), 4.0f) : 0.0f;
        }
        return sum / weights;
    };
    for (int x : {955, 959, 960, 963}) {
        float v = expectedAt(x);
        EXPECT_TRUE(closeTo(imagePixel(blur->images[0], x, 500), {v, v, v, 1.0f}, kHalfFloat)) << x;
    }

    // A black Intensity picture fully mixed in scales the length to nothing.
    addPicture("Still", solidPicture({0, 0, 0, 1}));
    ASSERT_TRUE(engine.connect("Still", "Smear", 1));
    param(*blur, "Mask").value = 1.0f;
    runFrame(*blur);
    EXPECT_TRUE(closeTo(imagePixel(blur->images[0], 959, 500), {0, 0, 0, 1}, 0.0f));
    EXPECT_TRUE(closeTo(imagePixel(blur->images[0], 960, 500), {1, 1, 1, 1}, 0.0f));
}

TEST_F(EffectLibraryOnMesa, LumaToAlphaMakesLumaTheAlphaOfAPremultipliedResult) {
    const std::vector<Colour> blocks = {{1, 1, 1, 1}, {0, 0, 0, 1}, {1, 0, 0, 1}, {0.25f, 0.25f, 0.25f, 0.5f}};
    addPicture("In", columnPicture([&](int x) { return blocks[std::size_t(x / 480)]; }));
    auto* luma = addShader("Luma", "Name \"Luma\" \"Luma\" Input 0, \"Source\" \"rgba\"\n"
                                   "Param 0, \"Exponent\" float, 0 4 1\nSourceLib LumaToAlpha\n");
    ASSERT_TRUE(engine.connect("In", "Luma", 0));
    runFrame(*luma);
    EXPECT_TRUE(closeTo(imagePixel(luma->images[0], 240, 100), {1, 1, 1, 1}, kHalfFloat));
    EXPECT_TRUE(closeTo(imagePixel(luma->images[0], 720, 100), {0, 0, 0, 0}, 0.0f));
    // Red: luma 0.299; the colour divided by it and multiplied by it again.
    EXPECT_TRUE(closeTo(imagePixel(luma->images[0], 1200, 100), {1, 0, 0, 0.299f}, kHalfFloat));
    // Half-covered mid grey: unpremultiplied 0.5, luma 0.5.
    EXPECT_TRUE(closeTo(imagePixel(luma->images[0], 1680, 100), {0.5f, 0.5f, 0.5f, 0.5f}, kHalfFloat));
}

const char kDisplace[] =
    "Name \"Shift\" \"Shift\"\n"
    "Input 0, \"Image\" \"rgba\"\n"
    "Input 1, \"Displacement\" \"rgba\"\n"
    "Param 0, \"Horizontal\" option, 5 \"Red\" \"Green\" \"Blue\" \"Alpha\" \"Luma\" 0\n"
    "Param 1, \"Vertical\" option, 5 \"Red\" \"Green\" \"Blue\" \"Alpha\" \"Luma\" 3\n"
    "Param 2, \"Distort_H\" float, -1.0, 1.0, 0.0\n"
    "Param 3, \"Distort_V\" float, -1.0, 1.0, 0.0\n"
    "SourceLib Displace2D\n";

TEST_F(EffectLibraryOnMesa, Displace2DWithoutDistortionShowsTheImageWrappedIntoTheFrame) {
    PictureNode* image = addPicture("In", columnPicture(columnCode));
    image->textureMatrix = render::translationMatrix(0.25f, 0.0f, 0.0f);
    addPicture("Map", solidPicture({0.9f, 0.1f, 0.3f, 1.0f}));
    auto* shift = addShader("Shift", kDisplace);
    ASSERT_TRUE(engine.connect("In", "Shift", 0));
    ASSERT_TRUE(engine.connect("Map", "Shift", 1));
    runFrame(*shift);
    EXPECT_EQ(decodeColumn(imagePixel(shift->images[0], 100, 300)), 580);
    EXPECT_EQ(decodeColumn(imagePixel(shift->images[0], 1500, 300)), 60);  // past the edge, wrapped
}

TEST_F(EffectLibraryOnMesa, Displace2DShiftsByTheSelectedChannelAndTakesRedForAnUnknownSelector) {
    addPicture("In", columnPicture(columnCode));
    addPicture("Map", solidPicture({0.75f, 0.25f, 0.5f, 1.0f}));
    auto* shift = addShader("Shift", kDisplace);
    ASSERT_TRUE(engine.connect("In", "Shift", 0));
    ASSERT_TRUE(engine.connect("Map", "Shift", 1));
    param(*shift, "Distort_H").value = 0.5f;
    // (0.75 - 0.5) x 0.5 = an eighth of the width, 240 columns.
    runFrame(*shift);
    EXPECT_EQ(decodeColumn(imagePixel(shift->images[0], 100, 300)), 340);
    param(*shift, "Horizontal").choice = 1;  // green: (0.25 - 0.5) x 0.5
    runFrame(*shift);
    EXPECT_EQ(decodeColumn(imagePixel(shift->images[0], 100, 300)), 1780);
    param(*shift, "Horizontal").choice = 7;
    runFrame(*shift);
    EXPECT_EQ(decodeColumn(imagePixel(shift->images[0], 100, 300)), 340);
}

const char kChromatic[] =
    "Name \"Fringe\" \"Fringe\"\n"
    "Input 0, \"Source\" \"rgba\"\n"
    "Param 0, \"Factor\" float, 0.0, 1.0, 0.0\n"
    "Param 1, \"Mode\" int, 0, 3, 0\n"
    "SourceLib ChromaticAbberation\n";

TEST_F(EffectLibraryOnMesa, AtNeutralSettingsEffectsReturnTheirInputColumnForColumn) {
    // Premultiplied colours, transparent and opaque, changing every column, so
    // a blend of neighbours or a shift shows as much as a colour change.
    const std::vector<Colour> colours = {{0.8f, 0.4f, 0.2f, 1.0f},      {0.0f, 1.0f, 0.5f, 1.0f},
                                         {0.25f, 0.125f, 0.0625f, 0.5f}, {0.0f, 0.0f, 0.0f, 1.0f},
                                         {1.0f, 1.0f, 1.0f, 1.0f},       {0.06f, 0.12f, 0.18f, 0.6f},
                                         {0.0f, 0.0f, 0.0f, 0.0f},       {0.3f, 0.3f, 0.3f, 0.75f}};
    addPicture("In", columnPicture([&](int x) { return colours[std::size_t(x % 8)]; }));
    const std::pair<const char*, const char*> effects[] = {
        {"Levels", kColorCorrect}, {"Smear", kDirectionalBlur}, {"Fringe", kChromatic}};
    for (auto [name, description] : effects) {
        auto* effect = addShader(name, description);
        ASSERT_TRUE(engine.connect("In", name, 0));
        runFrame(*effect);
        for (int x : {0, 1, 2, 3, 4, 5, 6, 7, 958, 959, 960, 1919})
            EXPECT_TRUE(closeTo(imagePixel(effect->images[0], x, 500), colours[std::size_t(x % 8)], kHalfFloat))
                << name << " column " << x;
    }
    param(*static_cast<nodes::ImageNode_Shader*>(engine.findNode("Fringe")), "Mode").value = 3.0f;
    runFrame(*engine.findNode("Fringe"));  // a mode it does not know: transparent
    EXPECT_TRUE(closeTo(imagePixel(static_cast<nodes::ImageNode*>(engine.findNode("Fringe"))->images[0], 37, 700),
                        {0, 0, 0, 0}, 0.0f));
}

TEST_F(EffectLibraryOnMesa, NoiseSourcesTradeGreenAndBlueInTheContrastStep) {
    const std::string common =
        "Param 0, \"Brightness\" float, 0 4 1\n"
        "Param 1, \"Contrast\" float, 0 4 1\n"
        "Param 2, \"Gamma\" float, 0 4 1\n"
        "Param 3, \"Color\" color, 0 1 0 1\n"
        "Param 4, \"Seed\" int, 0 100 7\n"
        "Param 5, \"Density\" float, 0 100 8\n"
        "Param 6, \"Direction\" direction, 1 1\n"
        "Param 7, \"Phase\" float, 0 10 0.3\n";
    for (const char* entry : {"SimpleNoise", "PerlinNoise3D"}) {
        auto* noise = addShader(entry, "Name \"N\" \"N\"\n" + common + "SourceLib " + entry + "\n");
        runFrame(*noise);
        bool varies = false;
        Colour first = imagePixel(noise->images[0], 0, 0);
        for (int x = 0; x < kWidth; x += 173) {
            Colour c = imagePixel(noise->images[0], x, 333);
            // A green tint comes out blue: the noise lands in blue, green stays 0.
            EXPECT_EQ(c[0], 0.0f) << entry;
            EXPECT_EQ(c[1], 0.0f) << entry;
            EXPECT_GE(c[2], 0.0f) << entry;
            EXPECT_LE(c[2], 1.0f) << entry;
            EXPECT_EQ(c[3], 1.0f) << entry;
            varies = varies || c[2] != first[2];
        }
        EXPECT_TRUE(varies) << entry;
    }
}

}  // namespace
}  // namespace vorn::test
