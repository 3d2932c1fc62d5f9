#include "nodes/image/Shader.h"

#include "platform/Debug.h"
#include "tests/nodes/image/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>

namespace vorn::test {
namespace {


// Every parameter kind, written into the picture: the left quarter shows
// (Gain, Count / 10, Mode / 4, Track), the next quarter (Dir, Pos), the rest Tint.
const char kAllKinds[] =
    "Name \"Probe\" \"Second Probe\"\n"
    "Param 1, \"Gain\" float, 0.0, 2.0, 0.5\n"
    "Param 2, \"Wrap\" floatEvolution, 0.0, 1.0, 0.25\n"
    "Param 3, \"Count\" int, -10, 10, 2.9\n"
    "Param 4, \"Mode\" option, 3 \"a\" \"b\" \"c\" 2\n"
    "Param 5, \"Dir\" direction, 0.25, -0.5\n"
    "Param 6, \"Pos\" position, 0.75, 0.125\n"
    "Param 7, \"Tint\" color, 0.1, 0.2, 0.3, 0.4\n"
    "Param 8, \"Track\" rocket, 0.75\n"
    "Source\n"
    "#version 330 core\n"
    "in vec2 texcoord;\n"
    "out vec4 frag[1];\n"
    "uniform float Gain;\n"
    "uniform int Count;\n"
    "uniform int Mode;\n"
    "uniform vec2 Dir;\n"
    "uniform vec2 Pos;\n"
    "uniform vec4 Tint;\n"
    "uniform float Track;\n"
    "void main() {\n"
    "    if (texcoord.x < 0.25) frag[0] = vec4(Gain, float(Count) / 10.0, float(Mode) / 4.0, Track);\n"
    "    else if (texcoord.x < 0.5) frag[0] = vec4(Dir, Pos);\n"
    "    else frag[0] = Tint;\n"
    "}\n";

class ShaderNode : public ShaderNodeTest {};

TEST_F(ShaderNode, SavesTheDeclaredParametersThenCinemascopeAndBindsTheFirstTrackOfEachName) {
    auto* probe = addShader("Probe", kAllKinds);
    // Entry 0 was never declared and "rocket" entries are no saved parameters.
    std::vector<std::string> names;
    for (const auto& record : engine.parametersOf(*probe)) names.push_back(record->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Gain", "Wrap", "Count", "Mode", "Dir", "Pos", "Tint", "Cinemascope"}));
    EXPECT_EQ(static_cast<const engine::ValueFloat&>(*engine.parametersOf(*probe)[0]).target, &param(*probe, "Gain").value);

    auto* twice = addShader("Twice", "Param 0, \"T\" rocket, 1\nParam 1, \"U\" rocket, 2\nParam 2, \"T\" rocket, 3\n");
    ASSERT_EQ(twice->syncTracks.size(), 2u);
    EXPECT_EQ(twice->syncTracks[0].first, "T");
    EXPECT_EQ(twice->syncTracks[0].second, &twice->description.parameters[0].value);
    EXPECT_EQ(twice->syncTracks[1].first, "U");
}

TEST_F(ShaderNode, SetsEveryKindOfParameterAsTheUniformOfItsName) {
    auto* probe = addShader("Probe", kAllKinds);
    runFrame(*probe);
    const render::GL_Image* out = probe->images[0];
    // int 2.9 arrives truncated as 2; choice 2; the first "Track" declaration's default.
    EXPECT_TRUE(closeTo(imagePixel(out, 100, 100), {0.5f, 0.2f, 0.5f, 0.75f}, 1e-3f));
    EXPECT_TRUE(closeTo(imagePixel(out, 700, 100), {0.25f, -0.5f, 0.75f, 0.125f}, 1e-3f));
    EXPECT_TRUE(closeTo(imagePixel(out, 1500, 100), {0.1f, 0.2f, 0.3f, 0.4f}, 1e-3f));

    param(*probe, "Count").value = -2.9f;  // towards zero, not down
    param(*probe, "Mode").choice = 1;
    param(*probe, "Gain").value = 1.5f;
    runFrame(*probe);
    EXPECT_TRUE(closeTo(imagePixel(out, 100, 100), {1.5f, -0.2f, 0.25f, 0.75f}, 1e-3f));
}

TEST(ShaderUniforms, FloatToIntTruncationSaturatesInsteadOfOverflowing) {
    const std::pair<float, int32_t> cases[] = {{2.9f, 2},         {-2.9f, -2}, {1e20f, INT32_MAX},
                                               {-1e20f, INT32_MIN}, {std::nanf(""), 0}};
    for (auto [value, expected] : cases) EXPECT_EQ(nodes::truncateToInt(value), expected) << value;
}

TEST_F(ShaderNode, SuppliesTimeAspectSampleSizeAndItsOwnTextureMatrix) {
    auto* probe = addShader("Probe",
                            "Name \"Probe\" \"Probe\" Source\n"
                            "#version 330 core\n"
                            "in vec2 texcoord;\n"
                            "out vec4 frag[1];\n"
                            "uniform float ng_time;\n"
                            "uniform float ng_aspectRatio;\n"
                            "uniform vec2 ng_sampleSize;\n"
                            "void main() {\n"
                            "    if (gl_FragCoord.x < 960.0)\n"
                            "        frag[0] = vec4(ng_time, ng_aspectRatio, ng_sampleSize * 1000.0);\n"
                            "    else\n"
                            "        frag[0] = vec4(texcoord, 0.0, 1.0);\n"
                            "}\n");
    engine.time = 1.25f;
    probe->textureMatrix = render::scaleMatrix(0.5f, 0.25f, 1.0f);
    runFrame(*probe);
    EXPECT_TRUE(closeTo(imagePixel(probe->images[0], 10, 10), {1.25f, 1920.0f / 1080.0f, 1000.0f / 1920.0f, 1000.0f / 1080.0f},
                        2e-3f));
    EXPECT_TRUE(closeTo(imagePixel(probe->images[0], 1500, 540), {0.5f * 1500.5f / 1920.0f, 0.25f * 540.5f / 1080.0f, 0, 1},
                        1e-3f));

    // The next frame's values arrive too.
    engine.time = 3.5f;
    probe->textureMatrix = render::identityMatrix();
    runFrame(*probe);
    EXPECT_NEAR(imagePixel(probe->images[0], 10, 10)[0], 3.5f, 2e-3f);
    EXPECT_NEAR(imagePixel(probe->images[0], 1500, 540)[0], 1500.5f / 1920.0f, 1e-3f);
}

// Left half: input 0 through its sampler "First"; right half: input 1 through "Second".
const char kTwoInputs[] =
    "Name \"Pair\" \"Pair\"\n"
    "Input 1, \"Second\" \"rgba\"\n"
    "Input 0, \"First\" \"geometry\"\n"
    "Source\n"
    "#version 330 core\n"
    "in vec2 texcoord_Input[8];\n"
    "out vec4 frag[1];\n"
    "uniform sampler2D First;\n"
    "uniform sampler2D Second;\n"
    "void main() {\n"
    "    if (gl_FragCoord.x < 960.0) frag[0] = texture(First, texcoord_Input[0]);\n"
    "    else frag[0] = texture(Second, texcoord_Input[1]);\n"
    "}\n";

TEST_F(ShaderNode, SamplesEachInputFromTheSlotItsTypeSelects) {
    PictureNode* a = addPicture("A", solidPicture({1, 0, 0, 1}));
    a->show(1, solidPicture({0, 1, 0, 1}));
    PictureNode* b = addPicture("B", solidPicture({0, 0, 1, 1}));
    b->show(1, solidPicture({1, 1, 1, 1}));
    auto* pair = addShader("Pair", kTwoInputs);
    EXPECT_EQ(pair->inputNames, (std::vector<std::string>{"First", "Second"}));
    ASSERT_TRUE(engine.connect("A", "Pair", 0));
    ASSERT_TRUE(engine.connect("B", "Pair", 1));
    runFrame(*pair);
    // Types go by line, not by index: input 0 has the first line's "rgba" (slot 0)
    // and input 1 the second line's "geometry" (slot 1).
    EXPECT_TRUE(closeTo(imagePixel(pair->images[0], 100, 100), {1, 0, 0, 1}, 0.0f));
    EXPECT_TRUE(closeTo(imagePixel(pair->images[0], 1800, 100), {1, 1, 1, 1}, 0.0f));
}

TEST_F(ShaderNode, AnEmptySlotOrAMissingInputSamplesNothing) {
    addPicture("OnlyMain", solidPicture({1, 1, 1, 1}));
    auto* pair = addShader("Pair", kTwoInputs);
    ASSERT_TRUE(engine.connect("OnlyMain", "Pair", 1));
    runFrame(*pair);
    // Input 0 is not connected; input 1 selects slot 1, which its node leaves empty.
    Colour left = imagePixel(pair->images[0], 100, 100);
    Colour right = imagePixel(pair->images[0], 1800, 100);
    EXPECT_TRUE(closeTo({left[0], left[1], left[2], 0}, {0, 0, 0, 0}, 0.0f));
    EXPECT_TRUE(closeTo({right[0], right[1], right[2], 0}, {0, 0, 0, 0}, 0.0f));
}

TEST_F(ShaderNode, BorrowedSlotsFollowInputZeroAndEmptyWhenItIsDeleted) {
    PictureNode* a = addPicture("A", solidPicture({1, 0, 0, 1}));
    auto* pair = addShader("Pair", kTwoInputs);
    ASSERT_TRUE(engine.connect("A", "Pair", 0));
    runFrame(*pair);
    for (int slot = 1; slot < 4; ++slot) EXPECT_EQ(pair->images[std::size_t(slot)], a->images[0]) << slot;

    a->show(0, solidPicture({0, 1, 0, 1}));  // the input replaced its picture
    runFrame(*pair);
    EXPECT_EQ(pair->images[1], a->images[0]);

    ASSERT_TRUE(engine.deleteNode("A"));
    runFrame(*pair);
    for (int slot = 1; slot < 4; ++slot) EXPECT_EQ(pair->images[std::size_t(slot)], nullptr) << slot;
    EXPECT_NE(pair->images[0], nullptr);
}

TEST_F(ShaderNode, CinemascopeDrawsOnlyTheMiddleBandAndKeepsTheBands) {
    auto* probe = addShader("Probe", kAllKinds);
    runFrame(*probe);
    std::copy_n(std::array<float, 4>{0.9f, 0.8f, 0.7f, 1.0f}.data(), 4, param(*probe, "Tint").colour);
    probe->cinemascope = true;
    runFrame(*probe);
    const render::GL_Image* out = probe->images[0];
    EXPECT_TRUE(closeTo(imagePixel(out, 1500, 540), {0.9f, 0.8f, 0.7f, 1.0f}, 1e-3f));
    EXPECT_TRUE(closeTo(imagePixel(out, 1500, 1075), {0.1f, 0.2f, 0.3f, 0.4f}, 1e-3f));
    EXPECT_TRUE(closeTo(imagePixel(out, 1500, 4), {0.1f, 0.2f, 0.3f, 0.4f}, 1e-3f));
}

TEST_F(ShaderNode, NothingIsDrawnWhileTheEngineDoesNotDraw) {
    auto* probe = addShader("Probe", kAllKinds);
    runFrame(*probe);
    param(*probe, "Gain").value = 1.0f;
    engine.processAll();
    probe->render();
    // processAll set nothing: the pass drew with the uniforms of the last frame.
    EXPECT_TRUE(closeTo(imagePixel(probe->images[0], 100, 100), {0.5f, 0.2f, 0.5f, 0.75f}, 1e-3f));
}

TEST_F(ShaderNode, ASourceThatDoesNotCompileFlagsTheNodeAndDrawsNothing) {
    platform::DebugCapture capture;
    auto* broken = addShader("Broken", "Name \"Broken\" \"Broken\" Input 0, \"Source\" \"rgba\" Source\nnot glsl\n");
    EXPECT_TRUE(broken->hasError);
    EXPECT_TRUE(capture.contains("Fragment Shader::Broken"));
    addPicture("In", solidPicture({1, 1, 1, 1}));
    ASSERT_TRUE(engine.connect("In", "Broken", 0));
    runFrame(*broken);  // and raises no GL error (checked when the test ends)
}

TEST_F(ShaderNode, AnUnknownLibrarySourceFlagsTheNodeWithoutCompilingAnything) {
    platform::DebugCapture capture;
    auto* missing = addShader("Missing", "Name \"Missing\" \"Missing\" SourceLib NoSuchEffect\n");
    EXPECT_TRUE(missing->hasError);
    EXPECT_TRUE(capture.contains("NoSuchEffect"));
    EXPECT_FALSE(capture.contains("Fragment Shader::"));
    runFrame(*missing);
}

}  // namespace
}  // namespace vorn::test
