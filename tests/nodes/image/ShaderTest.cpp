// The shader node, the node types made from description files, and ShaderToy.
#include "nodes/image/Shader.h"
#include "nodes/image/ShaderToy.h"

#include "nodes/image/EffectLibrary.h"
#include "platform/Debug.h"
#include "sync/TrackFile.h"
#include "tests/nodes/image/ImageTestSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <cstdio>

namespace vorn::test {
namespace {

// Every parameter kind, written into the picture: the first quarter of
// texcoord.x shows (Gain, Count / 10, Mode / 4, Track), the second (Dir, Pos),
// the third time, aspect and sample size, the rest Tint.
const char kProbeSource[] =
    "#version 330 core\nin vec2 texcoord;\nout vec4 frag[1];\n"
    "uniform float Gain, Track, ng_time, ng_aspectRatio;\nuniform int Count, Mode;\n"
    "uniform vec2 Dir, Pos, ng_sampleSize;\nuniform vec4 Tint;\n"
    "void main() {\n"
    "    if (texcoord.x < 0.25) frag[0] = vec4(Gain, float(Count) / 10.0, float(Mode) / 4.0, Track);\n"
    "    else if (texcoord.x < 0.5) frag[0] = vec4(Dir, Pos);\n"
    "    else if (texcoord.x < 0.75) frag[0] = vec4(ng_time, ng_aspectRatio, ng_sampleSize * 1000.0);\n"
    "    else frag[0] = Tint;\n"
    "}\n";
const std::string kAllKinds = std::string(
    "Name \"Probe\" \"Second Probe\"\n"
    "Param 1, \"Gain\" float, 0.0, 2.0, 0.5\n"
    "Param 2, \"Wrap\" floatEvolution, 0.0, 1.0, 0.25\n"
    "Param 3, \"Count\" int, -10, 10, 2.9\n"
    "Param 4, \"Mode\" option, 3 \"a\" \"b\" \"c\" 2\n"
    "Param 5, \"Dir\" direction, 0.25, -0.5\n"
    "Param 6, \"Pos\" position, 0.75, 0.125\n"
    "Param 7, \"Tint\" color, 0.1, 0.2, 0.3, 0.4\n"
    "Param 8, \"Track\" rocket, 0.75\n"
    "Source\n") + kProbeSource;

// Time, aspect and sample size as the probe shows them.
Colour frameValues(float time) { return {time, 1920.0f / 1080.0f, 1000.0f / 1920.0f, 1000.0f / 1080.0f}; }

class ShaderNode : public ImageGraph {};

TEST_F(ShaderNode, SavesTheDeclaredParametersAndSetsEachWithTimeAspectAndSampleSizeAsUniforms) {
    auto* probe = shader("Probe", kAllKinds);
    // Entry 0 was never declared and "rocket" entries are no saved parameters.
    std::vector<std::string> names;
    for (const auto& record : engine().parametersOf(*probe)) names.push_back(record->name);
    EXPECT_EQ(names, (std::vector<std::string>{"Gain", "Wrap", "Count", "Mode", "Dir", "Pos", "Tint", "Cinemascope"}));
    EXPECT_EQ(static_cast<const engine::ValueFloat&>(*engine().parametersOf(*probe)[0]).target, &param(*probe, "Gain").value);
    evaluateAt(*probe, 1.25f);
    // int 2.9 arrives truncated as 2; choice 2; the track's default.
    EXPECT_TRUE(closeTo(pixelOf(*probe, 100, 100), {0.5f, 0.2f, 0.5f, 0.75f}));
    EXPECT_TRUE(closeTo(pixelOf(*probe, 700, 100), {0.25f, -0.5f, 0.75f, 0.125f}));
    EXPECT_TRUE(closeTo(pixelOf(*probe, 1200, 100), frameValues(1.25f)));
    EXPECT_TRUE(closeTo(pixelOf(*probe, 1500, 100), {0.1f, 0.2f, 0.3f, 0.4f}));
    param(*probe, "Count").value = -2.9f;  // towards zero, not down
    param(*probe, "Mode").choice = 1;
    param(*probe, "Gain").value = 1.5f;
    probe->textureMatrix = render::scaleMatrix(0.5f, 1.0f, 1.0f);  // its own matrix moves texcoord
    evaluateAt(*probe, 3.5f);
    EXPECT_TRUE(closeTo(pixelOf(*probe, 100, 100), {1.5f, -0.2f, 0.25f, 0.75f}));
    EXPECT_TRUE(closeTo(pixelOf(*probe, 1200, 100), {0.25f, -0.5f, 0.75f, 0.125f}));
    probe->textureMatrix = render::identityMatrix();
    evaluateAt(*probe, 3.5f);
    EXPECT_TRUE(closeTo(pixelOf(*probe, 1200, 100), frameValues(3.5f)));
    // Processing without drawing sets nothing: the next pass draws with the uniforms of the last frame.
    param(*probe, "Gain").value = 1.0f;
    engine().processAll();
    probe->render();
    EXPECT_TRUE(closeTo(pixelOf(*probe, 100, 100), {1.5f, -0.2f, 0.25f, 0.75f}));
    // With "Cinemascope" only the middle band is drawn; the bands keep what they held.
    std::copy_n(Colour{0.9f, 0.8f, 0.7f, 1.0f}.data(), 4, param(*probe, "Tint").colour);
    probe->cinemascope = true;
    evaluateAt(*probe);
    EXPECT_TRUE(closeTo(pixelOf(*probe, 1500, 540), {0.9f, 0.8f, 0.7f, 1.0f}));
    EXPECT_TRUE(closeTo(pixelOf(*probe, 1500, 1075), {0.1f, 0.2f, 0.3f, 0.4f}));
    EXPECT_TRUE(closeTo(pixelOf(*probe, 1500, 4), {0.1f, 0.2f, 0.3f, 0.4f}));
}

TEST(ShaderUniforms, FloatToIntTruncationSaturatesInsteadOfOverflowing) {
    const std::pair<float, int32_t> cases[] = {
        {2.9f, 2}, {-2.9f, -2}, {1e20f, INT32_MAX}, {-1e20f, INT32_MIN}, {std::nanf(""), 0}};
    for (auto [value, expected] : cases) EXPECT_EQ(nodes::truncateToInt(value), expected) << value;
}

// Left half: input 0 through its sampler "First"; right half: input 1 through "Second".
const char kTwoInputs[] =
    "Input 1, \"Second\" \"rgba\"\n"
    "Input 0, \"First\" \"geometry\"\n"
    "Source\n"
    "#version 330 core\nin vec2 texcoord_Input[8];\nout vec4 frag[1];\nuniform sampler2D First, Second;\n"
    "void main() {\n"
    "    if (gl_FragCoord.x < 960.0) frag[0] = texture(First, texcoord_Input[0]);\n"
    "    else frag[0] = texture(Second, texcoord_Input[1]);\n"
    "}\n";

TEST_F(ShaderNode, SamplesEachInputFromTheSlotItsTypeSelectsAndAnEmptySlotAsNothing) {
    Picture* a = picture("A", solidPicture({1, 0, 0, 1}));
    a->show(1, solidPicture({0, 1, 0, 1}));
    Picture* b = picture("B", solidPicture({0, 0, 1, 1}));
    b->show(1, solidPicture({1, 1, 1, 1}));
    auto* pair = shader("Pair", kTwoInputs);
    EXPECT_EQ(pair->inputNames, (std::vector<std::string>{"First", "Second"}));
    connect("A", "Pair", 0);
    connect("B", "Pair", 1);
    evaluateAt(*pair);
    // Types go by line, not by index: input 0 has the first line's "rgba" (slot 0)
    // and input 1 the second line's "geometry" (slot 1).
    EXPECT_TRUE(closeTo(pixelOf(*pair, 100, 100), {1, 0, 0, 1}, 0.0f));
    EXPECT_TRUE(closeTo(pixelOf(*pair, 1800, 100), {1, 1, 1, 1}, 0.0f));
    // Input 0 unconnected, input 1's slot 1 empty: neither unit keeps the texture bound before.
    b->images[1] = nullptr;
    engine().disconnect("Pair", 0);
    evaluateAt(*pair);
    for (int x : {100, 1800}) {
        Colour c = pixelOf(*pair, x, 100);
        EXPECT_TRUE(closeTo({c[0], c[1], c[2], 0}, {0, 0, 0, 0}, 0.0f)) << x;
    }
}

TEST_F(ShaderNode, TrackPlaybackDrivesTheFirstRocketParameterOfEachNameThatHasATrackFile) {
    ASSERT_TRUE(sync::saveTrackFile({"Track", {{0, 0.25f, sync::Step}}}, sync::trackPath("sync", "Track")));
    auto* probe = shader("Probe", "Param 0, \"Track\" rocket, 0.75\nParam 1, \"Spare\" rocket, 0.5\n"
                                  "Param 2, \"Track\" rocket, 0.125\n");
    ASSERT_TRUE(engine().startTrackPlayback());
    ASSERT_EQ(engine().syncBindings.size(), 1u);  // Spare has no file
    engine().update(0.0f);
    EXPECT_EQ(probe->description.parameters[0].value, 0.25f);
    EXPECT_EQ(probe->description.parameters[2].value, 0.125f);
}

TEST_F(ShaderNode, ScriptTypesComeFirstInListingOrderAndBrokenOrUnreadableOnesAreReported) {
    const TempDir& folder = folder_.folder();
    folder.write("Scripts/b.node", "Name \"Beta\" \"b\"\nSourceLib LumaToAlpha\n");
    folder.write("Scripts/a.node", "Name \"Alpha\" \"a\"\nInput 0, \"Source\" \"rgba\"\nSourceLib ColorCorrect\n");
    folder.write("Scripts/Lost.node.txt", "Name \"Lost\" \"Lost\"\nInput 0, \"Source\" \"rgba\"\nSourceLib Vanished\n");
    folder.write("Scripts/Broken.node", "Name \"Broken\" \"x\"\nInput 0, \"Source\" \"rgba\"\nSource\nnot glsl\n");
    platform::makeDirectory(folder.file("Scripts/folder.node"));
    ASSERT_EQ(::mkfifo(folder.file("Scripts/Pipe.node").c_str(), 0600), 0);  // must not hang the start
    platform::DebugCapture capture;
    engine().loadScripts();
    EXPECT_TRUE(capture.contains("cannot read shader description ./Scripts/Pipe.node: is not a regular file\n"));
    EXPECT_TRUE(capture.contains("no library source named \"Vanished\"")) << capture.text();
    // Listed case-insensitively, then the built-in menu.
    std::vector<std::string> first(engine().nodeTypeNames.begin(), engine().nodeTypeNames.begin() + 5);
    EXPECT_EQ(first, (std::vector<std::string>{"Alpha", "Beta", "Broken", "Lost", "Viewer"}));
    capture.clear();
    auto* alpha = create<nodes::ImageNode_Shader>("Alpha 1", "Alpha");
    ASSERT_NE(alpha, nullptr);
    EXPECT_TRUE(capture.contains("Load Script from File: Alpha\n"));
    EXPECT_EQ(alpha->description.source, *nodes::effectLibrarySource("ColorCorrect"));
    EXPECT_FALSE(alpha->hasError);
    // No GLSL, or a library source that does not exist: in error, and drawing nothing raises no GL error.
    picture("In", solidPicture({1, 1, 1, 1}));
    for (auto [type, compiled] : {std::pair{"Broken", true}, {"Lost", false}}) {
        capture.clear();
        auto* node = create<nodes::ImageNode_Shader>(std::string(type) + " 1", type);
        ASSERT_NE(node, nullptr) << type;
        EXPECT_TRUE(node->hasError) << type;
        EXPECT_EQ(capture.contains("Fragment Shader::Broken"), compiled) << capture.text();
        connect("In", std::string(type) + " 1", 0);
        evaluateAt(*node);
    }
    capture.clear();
    EXPECT_FALSE(engine().createNode("Pipe 1", "Pipe"));
    EXPECT_EQ(capture.text(), "cannot create node \"Pipe 1\" of type \"Pipe\": no such type\n");
}

TEST_F(ShaderNode, ShaderToyReadsItsFileWhileReloadIsSetAndKeepsItsPictureWhenTheFileFails) {
    auto* toy = create<nodes::ImageNode_ShaderToy>("Toy", "ShaderToy");
    toy->sourcePath = "toy.frag";
    auto source = [](const char* colour, std::size_t size = 0) {
        std::string text = std::string("#version 330 core\nout vec4 frag[1];\nvoid main() { frag[0] = vec4(") + colour + "); }\n";
        return size ? text + "//" + std::string(size - text.size() - 3, 'x') + "\n" : text;
    };
    const Colour red{1, 0, 0, 1}, green{0, 1, 0, 1}, blue{0, 0, 1, 1};
    struct Step {
        const char* what;
        std::string text;  // empty: no file
        bool reload, result, sameProgram;
        Colour shown;
    };
    const Step steps[] = {
        {"not read before Reload is set", source("0, 1, 0, 1"), false, false, false, red},
        {"read", source("0, 1, 0, 1"), true, true, false, green},
        {"the same text keeps its program", source("0, 1, 0, 1"), true, true, true, green},
        {"new text of the same length", source("0, 0, 1, 1"), true, true, false, blue},
        {"not read without Reload", source("0, 1, 0, 1"), false, true, true, blue},
        {"no file: red", "", true, false, false, red},
        {"back again: rebuilt although the text is the same", source("0, 0, 1, 1"), true, true, false, blue},
        {"beyond the buffer: refused", source("0, 1, 0, 1", 70000), true, true, true, blue},
        {"still beyond it", source("0, 1, 0, 1", 70000), true, true, true, blue},
        {"exactly 65535 bytes fit", source("0, 1, 0, 1", 65535), true, true, false, green},
        {"a source that does not compile", "#version 330 core\nthis is not glsl\n", true, true, false, green},
    };
    platform::DebugCapture capture;
    for (const Step& step : steps) {
        SCOPED_TRACE(step.what);
        if (step.text.empty())
            std::remove(folder_.file("toy.frag").c_str());
        else
            folder_.folder().write("toy.frag", step.text);
        const render::ShaderProgram* before = toy->program.get();
        toy->reload = step.reload;
        EXPECT_EQ(evaluateAt(*toy), step.result);
        EXPECT_EQ(pixelOf(*toy, 960, 540), step.shown);
        EXPECT_TRUE(!step.sameProgram || toy->program.get() == before) << "rebuilt";
    }
    std::size_t refusal = capture.text().find("is 70000 bytes, more than 65535");
    ASSERT_NE(refusal, std::string::npos) << capture.text();
    EXPECT_EQ(capture.text().find("more than 65535", refusal + 40), std::string::npos) << "reported once";
    EXPECT_TRUE(capture.contains("Fragment Shader::Toy"));
    folder_.folder().write("toy.frag", kProbeSource);  // texcoord is the quad's coordinate
    evaluateAt(*toy, 2.5f);
    EXPECT_TRUE(closeTo(pixelOf(*toy, 1200, 100), frameValues(2.5f)));
    EXPECT_TRUE(closeTo(pixelOf(*toy, 1500, 100), {0, 0, 0, 0}));
}

}  // namespace
}  // namespace vorn::test
