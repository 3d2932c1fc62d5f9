// The library's effects as shader nodes on Mesa, their results worked out by hand.
#include "nodes/image/EffectLibrary.h"

#include "nodes/image/effect.vert.glsl.h"
#include "render/ShaderProgram.h"
#include "tests/nodes/image/ImageTestSupport.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn::test {
namespace {

constexpr float kHalfFloat = 2e-3f;  // the targets hold 16-bit floats

// A description of a library entry: "rgba" inputs, then parameters numbered in order.
std::string describe(const std::vector<std::string>& inputs, const std::vector<std::string>& params, const char* entry) {
    std::string text;
    for (std::size_t i = 0; i < inputs.size(); ++i)
        text += "Input " + std::to_string(i) + ", \"" + inputs[i] + "\" \"rgba\"\n";
    for (std::size_t i = 0; i < params.size(); ++i) text += "Param " + std::to_string(i) + ", " + params[i] + "\n";
    return text + "SourceLib " + entry + "\n";
}

const std::string kColorCorrect = describe(
    {"Source"},
    {"\"Gamma\" float, 0 4 1", "\"Blackpoint\" float, 0 1 0", "\"Whitepoint\" float, 0 1 1", "\"Exp_R\" float, 0 4 1",
     "\"Exp_G\" float, 0 4 1", "\"Exp_B\" float, 0 4 1", "\"Brightness\" float, 0 4 1", "\"Contrast\" float, 0 4 1",
     "\"LowColor\" color, 0 0 0 0", "\"HiColor\" color, 1 1 1 1"},
    "ColorCorrect");
const std::string kDirectionalBlur = describe(
    {"Source", "Intensity"},
    {"\"Length\" float, 0 100 0", "\"Quality\" float, 0 4 1", "\"Mask\" float, 0 1 0", "\"Direction\" direction, 1 0"},
    "DirectionalBlur");

// A column encoded in two channels with values exact in half floats.
Colour columnCode(int x) { return {float(x % 64) / 64.0f, float(x / 64) / 32.0f, 0.5f, 1.0f}; }
int decodeColumn(const Colour& c) { return int(std::lround(c[0] * 64.0f)) + 64 * int(std::lround(c[1] * 32.0f)); }

class EffectLibrary : public ImageGraph {};

TEST_F(EffectLibrary, EveryEntryBuildsWithTheEffectVertexStage) {
    for (const std::string& name : nodes::effectLibraryNames()) {
        render::ShaderProgram program(name, glsl_effect_vert, nullptr, nodes::effectLibrarySource(name)->c_str(),
                                      {"vertex", "uv"}, 1);
        EXPECT_TRUE(program.valid) << name;
    }
}

TEST_F(EffectLibrary, AtNeutralSettingsEffectsReturnTheirInputColumnForColumn) {
    // Premultiplied colours, transparent and opaque, changing every column, so
    // a blend of neighbours or a shift shows as much as a colour change.
    const std::vector<Colour> colours = {{0.8f, 0.4f, 0.2f, 1.0f},       {0.0f, 1.0f, 0.5f, 1.0f},
                                         {0.25f, 0.125f, 0.0625f, 0.5f}, {0.0f, 0.0f, 0.0f, 1.0f},
                                         {1.0f, 1.0f, 1.0f, 1.0f},       {0.06f, 0.12f, 0.18f, 0.6f},
                                         {0.0f, 0.0f, 0.0f, 0.0f},       {0.3f, 0.3f, 0.3f, 0.75f}};
    picture("In", columnPicture([&](int x) { return colours[std::size_t(x % 8)]; }));
    const std::string chromatic = describe({"Source"}, {"\"Factor\" float, 0 1 0", "\"Mode\" int, 0 3 0"}, "ChromaticAbberation");
    const std::pair<const char*, const std::string*> effects[] = {
        {"Levels", &kColorCorrect}, {"Smear", &kDirectionalBlur}, {"Fringe", &chromatic}};
    nodes::ImageNode_Shader* effect = nullptr;
    for (auto [name, description] : effects) {
        effect = shader(name, *description);
        connect("In", name, 0);
        evaluateAt(*effect);
        for (int x : {0, 1, 2, 3, 4, 5, 6, 7, 958, 959, 960, 1919})
            EXPECT_TRUE(closeTo(pixelOf(*effect, x, 500), colours[std::size_t(x % 8)], kHalfFloat)) << name << " " << x;
    }
    param(*effect, "Mode").value = 3.0f;
    evaluateAt(*effect);  // a fringe mode it does not know: transparent
    EXPECT_TRUE(closeTo(pixelOf(*effect, 37, 700), {0, 0, 0, 0}, 0.0f));
}

TEST_F(EffectLibrary, ColorCorrectAppliesRangeExponentContrastAndBrightness) {
    picture("In", solidPicture({0.6f, 0.6f, 0.6f, 1.0f}));
    auto* levels = shader("Levels", kColorCorrect);
    connect("In", "Levels", 0);
    std::copy_n(Colour{0.1f, 0.1f, 0.1f, 0.0f}.data(), 4, param(*levels, "LowColor").colour);
    std::copy_n(Colour{0.5f, 0.5f, 0.5f, 1.0f}.data(), 4, param(*levels, "HiColor").colour);
    param(*levels, "Exp_R").value = 2.0f;
    param(*levels, "Contrast").value = 2.0f;
    param(*levels, "Brightness").value = 0.5f;
    evaluateAt(*levels);
    // 0.6 x 0.4 + 0.1 = 0.34; red squared 0.1156; contrast 2 about 0.5; halved.
    const float red = ((0.1156f - 0.5f) * 2.0f + 0.5f) * 0.5f;
    const float other = ((0.34f - 0.5f) * 2.0f + 0.5f) * 0.5f;
    EXPECT_TRUE(closeTo(pixelOf(*levels, 700, 300), {red, other, other, 1.0f}, kHalfFloat));
}

TEST_F(EffectLibrary, DigitalGlitchIsOpaqueBlackAtIntensityZero) {
    auto* glitch = shader("Glitch", describe({},
                                             {"\"StripCount\" float, 0 1 0.5", "\"StripIntensity\" float, 0 1 1",
                                              "\"BlockCount\" float, 0 1 0.5", "\"BlockWidth\" float, 0 1 0.2",
                                              "\"BlockIntensity\" float, 0 1 1", "\"Intensity\" float, 0 1 0"},
                                             "DigitalGlitch"));
    evaluateAt(*glitch);
    for (int y = 5; y < 1080; y += 97)
        for (int x = 3; x < 1920; x += 131) ASSERT_TRUE(closeTo(pixelOf(*glitch, x, y), {0, 0, 0, 1}, 0.0f)) << x << " " << y;
}

TEST_F(EffectLibrary, LumaToAlphaMakesLumaTheAlphaOfAPremultipliedResult) {
    const std::vector<Colour> blocks = {{1, 1, 1, 1}, {0, 0, 0, 1}, {1, 0, 0, 1}, {0.25f, 0.25f, 0.25f, 0.5f}};
    picture("In", columnPicture([&](int x) { return blocks[std::size_t(x / 480)]; }));
    auto* luma = shader("Luma", describe({"Source"}, {"\"Exponent\" float, 0 4 1"}, "LumaToAlpha"));
    connect("In", "Luma", 0);
    evaluateAt(*luma);
    // Red: luma 0.299, the colour divided by it and multiplied by it again.
    // Half-covered mid grey: unpremultiplied 0.5, luma 0.5.
    const Colour expected[] = {{1, 1, 1, 1}, {0, 0, 0, 0}, {1, 0, 0, 0.299f}, {0.5f, 0.5f, 0.5f, 0.5f}};
    for (int block = 0; block < 4; ++block)
        EXPECT_TRUE(closeTo(pixelOf(*luma, 240 + 480 * block, 100), expected[block], kHalfFloat)) << block;
}

TEST_F(EffectLibrary, Displace2DShiftsByTheSelectedChannelAndWrapsIntoTheFrame) {
    Picture* image = picture("In", columnPicture(columnCode));
    picture("Map", solidPicture({0.75f, 0.25f, 0.5f, 1.0f}));
    const std::string channels = " option, 5 \"Red\" \"Green\" \"Blue\" \"Alpha\" \"Luma\" ";
    auto* shift = shader("Shift", describe({"Image", "Displacement"},
                                           {"\"Horizontal\"" + channels + "0", "\"Vertical\"" + channels + "3",
                                            "\"Distort_H\" float, -1 1 0", "\"Distort_V\" float, -1 1 0"},
                                           "Displace2D"));
    connect("In", "Shift", 0);
    connect("Map", "Shift", 1);
    auto columnAt = [&](int x) {
        evaluateAt(*shift);
        return decodeColumn(pixelOf(*shift, x, 300));
    };
    // Without distortion the image through its matrix, wrapped past the edge.
    image->textureMatrix = render::translationMatrix(0.25f, 0.0f, 0.0f);
    EXPECT_EQ(columnAt(100), 580);
    EXPECT_EQ(columnAt(1500), 60);
    image->textureMatrix = render::identityMatrix();
    param(*shift, "Distort_H").value = 0.5f;
    EXPECT_EQ(columnAt(100), 340);  // red: (0.75 - 0.5) x 0.5 = an eighth of the width, 240 columns
    param(*shift, "Horizontal").choice = 1;
    EXPECT_EQ(columnAt(100), 1780);  // green: (0.25 - 0.5) x 0.5, wrapped
    param(*shift, "Horizontal").choice = 7;
    EXPECT_EQ(columnAt(100), 340);  // an unknown selector takes red
}

}  // namespace
}  // namespace vorn::test
