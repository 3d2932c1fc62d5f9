// The 2D parallax renderer: scene files on damage, key lookup, scene selection, layers on screen.
#include "nodes/image/ParallaxRenderer.h"
#include "nodes/image/ParallaxRules.h"
#include "nodes/image/SceneFile.h"

#include "platform/Debug.h"
#include "tests/nodes/image/ImageTestSupport.h"
#include "tests/support/GlObjectCount.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <sstream>

namespace vorn::test {
namespace {

using namespace nodes;

TEST(SceneFile, DamageEndsTheFileAndKeepsWhatWasComplete) {
    // Two layers: "a.png" with 3 keys (bytes 0-603), "b.png" with 2 (604-1179), b's key count at 1120.
    SceneLayerRecord a{"a.png", "", 2, {}}, b{"b.png", "", 6, {}};
    for (int k = 0; k < 3; ++k) a.keys.push_back({0, k / 60.0f, 1, 2, 3, 4, 0.5f});
    b.keys = {a.keys[0], a.keys[1]};
    const std::vector<uint8_t> whole = writeSceneFile({a, b});
    struct Case {
        const char* what;
        std::size_t size;
        int32_t count;
        std::vector<std::size_t> keysPerLayer;  // of the layers kept
        std::size_t offset;                     // of the damage; 0: none
    };
    const Case cases[] = {
        {"whole", 1180, 2, {3, 2}, 0},
        {"empty", 0, 2, {}, 0},
        {"name cut", 704, 2, {3}, 604},
        {"mode cut", 604 + 514, 2, {3}, 604},
        {"count cut", 604 + 518, 2, {3}, 604},
        {"second key cut", 1124 + 28 + 10, 2, {3, 1}, 1152},
        {"negative count", 1180, -1, {3}, 1120},
        {"count beyond the file", 1180, 0x7FFFFFFF, {3, 2}, 1180},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<uint8_t> bytes = whole;
        std::memcpy(&bytes[1120], &c.count, 4);
        bytes.resize(c.size);
        SceneFileRead read = readSceneFile(bytes);
        std::vector<std::size_t> kept;
        for (const SceneLayerRecord& l : read.layers) kept.push_back(l.keys.size());
        EXPECT_EQ(kept, c.keysPerLayer);
        EXPECT_EQ(read.damaged, c.offset != 0);
        EXPECT_EQ(read.damageOffset, c.offset);
        EXPECT_EQ(read.problem.empty(), c.offset == 0);
    }
}

// times[k] = k / perSecond for k = 0 ... count-1.
std::vector<float> evenly(int count, float perSecond) {
    std::vector<float> times;
    for (int k = 0; k < count; ++k) times.push_back(float(k) / perSecond);
    return times;
}

TEST(ParallaxRules, KeyLookupFindsTheWindowAroundTheTime) {
    struct Case {
        const char* what;
        std::vector<float> times;
        float tau;
        KeyBlend expected;
    };
    const Case cases[] = {
        // Starts at key 30; the window is keys 29 ... 31, tau half way in it.
        {"one key per frame at 0.5 s", evenly(61, 60), 0.5f, {30, 31, 0.5f}},
        // Starts at key 3 (0.05 x 60); walks down to 1, where 0 <= 0.05 <= 0.2.
        {"sparse keys walk down", evenly(10, 10), 0.05f, {1, 2, 0.25f}},
        // Starts at key 2; walks up to 49, where 0.048 <= 0.0495 <= 0.05.
        {"dense keys walk up", evenly(100, 1000), 0.0495f, {49, 50, 0.75f}},
        // 1 -> 2 -> 1 -> 2 -> 1: four steps for four keys, then key 1 alone.
        {"times out of order end the walk", {0, 1, 0, 0}, 0.02f, {1, 1, 0.0f}},
        {"a zero-length window gives f = 0", {0.02f, 0.02f, 0.02f}, 0.02f, {1, 2, 0.0f}},
        {"before the first key", evenly(10, 60), -1.0f, {0, 0, 0.0f}},
        {"after the last key", evenly(10, 60), 5.0f, {9, 9, 0.0f}},
        {"no time at all", evenly(10, 60), NAN, {0, 0, 0.0f}},
    };
    for (const Case& c : cases) {
        std::vector<SceneKey> keys;
        for (float t : c.times) keys.push_back({0, t, 0, 0, 0, 0, 0});
        KeyBlend blend = lookupKeys(keys, c.tau);
        EXPECT_EQ(blend.i, c.expected.i) << c.what;
        EXPECT_EQ(blend.j, c.expected.j) << c.what;
        EXPECT_NEAR(blend.f, c.expected.f, 1e-4f) << c.what;
    }
}

TEST(ParallaxRules, SceneSelectionFollowsTheStartTimesOfScenesWithLayers) {
    struct Case {
        const char* what;
        std::vector<std::pair<int, float>> loaded;  // scene index, start time
        float sceneTime;
        int expected;
    };
    const Case cases[] = {
        {"at a start time the earlier scene still plays", {{0, 0}, {1, 30}}, 30.0f, 0},
        {"just after it the later one", {{0, 0}, {1, 30}}, 30.01f, 1},
        {"empty scenes are passed over", {{5, 10}}, 10.5f, 5},
        {"an empty scene 0 before the first start", {{5, 10}}, 10.0f, 0},
        {"the walk stops at the first later start", {{1, 20}, {2, 5}}, 10.0f, 0},
        {"a later scene with an earlier start wins", {{1, 5}, {2, 3}}, 10.0f, 2},
    };
    for (const Case& c : cases) {
        std::array<float, kParallaxSceneCount> starts{};
        std::array<bool, kParallaxSceneCount> hasLayers{};
        for (auto [scene, start] : c.loaded) {
            hasLayers[scene] = true;
            starts[scene] = start;
        }
        EXPECT_EQ(selectScene(starts, hasLayers, c.sceneTime), c.expected) << c.what;
    }
}


// A layer that stands on a rectangle of the frame (pixels: left, y0, right, y1).
SceneLayerRecord still(std::string name, int32_t mode, std::array<float, 4> rect = {0, 0, 1920, 1080}) {
    return {std::move(name), "", mode, {{0, 0, rect[0], rect[1], rect[2], rect[3], 1.0f}}};
}

// One key a frame: on `from` at opacity 1 up to 1 s, then one on `to` at opacity 0.
SceneLayerRecord moving(std::string name, std::array<float, 4> from, std::array<float, 4> to) {
    SceneLayerRecord layer = still(std::move(name), 2, from);
    for (int k = 1; k <= 60; ++k) layer.keys.push_back({0, k / 60.0f, from[0], from[1], from[2], from[3], 1});
    layer.keys.push_back({0, 61 / 60.0f, to[0], to[1], to[2], to[3], 0});
    return layer;
}

Colour grey(float level) { return {level, level, level, 1}; }

class ParallaxGraph : public ImageGraph {
protected:
    void SetUp() override {
        ImageGraph::SetUp();
        ASSERT_TRUE(platform::makeDirectory("Graphics"));
        const Rgba grey50{128, 128, 128, 255}, grey20{51, 51, 51, 255}, white{255, 255, 255, 255};
        const std::pair<const char*, Rgba> pictures[] = {
            {"grey50.png", grey50}, {"grey25.png", {64, 64, 64, 255}}, {"red.png", {255, 0, 0, 128}},
            {"Neon-grey.png", grey20}, {"grey20.png", grey20}, {"Screen-Mask-white.png", white}, {"white.png", white}};
        for (auto [name, c] : pictures) writePicture(std::string("Graphics/") + name, 1, 1, 4, {c.r, c.g, c.b, c.a});
        writeQuadrantPicture("Graphics/quadrants.png", 4, 4);
        valley_ = create<ImageNode_2DParallaxRenderer>("Valley", "2D Parallax Engine");
        create<engine::Node>("Viewer 1", "Viewer");
        connect("Valley", "Viewer 1", 0);
        // The masked picture is sampled at half scale: on a mask layer that shows
        // the same even green, but the final picture must not be scaled with it.
        picture("Picture", solidPicture({0, 0.6f, 0, 1}))->textureMatrix = render::scaleMatrix(0.5f, 0.5f, 1.0f);
        connect("Picture", "Valley", 0);
        valley_->glowIntensity = 0.0f;
        valley_->glowRadius = 0.0f;  // a glow lies on its source
    }
    // Scene index `scene` holds the layers and starts at 0 s. Every call writes
    // a file of a new name: scenes reload only when their file name changes.
    void setScene(int scene, const std::vector<SceneLayerRecord>& layers) {
        std::string file = "scene" + std::to_string(++files_) + ".scn";
        ASSERT_TRUE(platform::writeFile(file, writeSceneFile(layers)));
        valley_->sceneFiles[scene] = file;
    }
    ::testing::AssertionResult outputAt(float s, float t, const Colour& expected) {
        return closeTo(pixelOf(*valley_, int(s * 1920), int(t * 1080)), expected);
    }
    ImageNode_2DParallaxRenderer* valley_ = nullptr;
    int files_ = 0;
};

TEST_F(ParallaxGraph, LayersBlendPlaceGlowAndMaskAsWorkedOutByHand) {
    struct Check {
        float s, t;
        Colour expected;
    };
    struct Case {
        const char* what;
        int scene;
        std::vector<SceneLayerRecord> layers;  // the first is drawn last, on top
        float background, glow, fx;            // grey level of an opaque background; intensities
        std::vector<Check> checks;
    };
    const float half = 128.0f / 255.0f, quarter = 64.0f / 255.0f;  // 8-bit 128 and 64
    // Screen: s + d (1 - s); over: s + d (1 - s.alpha). The output screens the
    // layers' picture once more over the background. Dodge: base / (1 - blend).
    const float screened = half + 0.5f * (1 - half), dodged = quarter / (1 - half);
    // Colour 0.2; neon 0.2 where the layer is a glow source; the glow is the
    // colour times the neon (Glow:Mask 1) times the scene's factor, screened on.
    auto glowing = [](float factor) { return grey(0.04f * factor + 0.2f * (1 - 0.04f * factor)); };
    const std::array<float, 4> middle{480, 270, 1440, 810}, flipped{480, 810, 1440, 270}, rightHalf{960, 0, 1920, 1080};
    const Colour red{1, 0, 0, 1}, blue{0, 0, 1, 1};
    const Case cases[] = {
        {"half-transparent red over black", 0, {still("red.png", 2)}, 0, 0, 0, {{0.5f, 0.5f, {half, 0, 0, 1}}}},
        {"over an opaque grey", 0, {still("grey50.png", 2)}, 0.5f, 0, 0, {{0.5f, 0.5f, grey(screened)}}},
        {"screen", 0, {still("grey50.png", 6)}, 0.5f, 0, 0, {{0.5f, 0.5f, grey(screened + 0.5f * (1 - screened))}}},
        {"dodge in scene 11", 11, {still("grey50.png", 27), still("grey25.png", 2)}, 0, 0, 0, {{0.5f, 0.5f, grey(dodged)}}},
        {"mode 27 screens elsewhere", 10, {still("grey50.png", 27), still("grey25.png", 2)}, 0, 0, 0,
         {{0.5f, 0.5f, grey(half + quarter * (1 - half))}}},
        {"layers after a dodge blend again", 11, {still("red.png", 2), still("grey50.png", 27), still("grey25.png", 2)},
         0, 0, 0, {{0.5f, 0.5f, {half + dodged * (1 - half), dodged * (1 - half), dodged * (1 - half), 1}}}},
        {"the top row at y0", 0, {still("quadrants.png", 2, middle)}, 0, 0, 0,
         {{0.4f, 0.3f, red}, {0.4f, 0.7f, blue}, {0.2f, 0.5f, grey(0)}}},
        {"y0 below y1 turns it over", 0, {still("quadrants.png", 2, flipped)}, 0, 0, 0,
         {{0.4f, 0.3f, blue}, {0.4f, 0.7f, red}}},
        // At 1 s the window is keys 59 ... 61: half way from key 60 to 61, x 480 ... 1440 at opacity 0.5.
        {"keys blend in between", 0, {moving("quadrants.png", {0, 270, 960, 810}, {960, 270, 1920, 810})}, 0, 0, 0,
         {{0.2f, 0.5f, grey(0)}, {0.4f, 0.3f, {0.5f, 0, 0, 1}}, {0.8f, 0.3f, grey(0)}}},
        {"a neon layer glows", 0, {still("Neon-grey.png", 2)}, 0, 1, 0, {{0.5f, 0.5f, glowing(3.0f)}}},
        {"other layers do not", 0, {still("grey20.png", 2)}, 0, 1, 0, {{0.5f, 0.5f, grey(0.2f)}}},
        {"scene 1 glows more", 1, {still("Neon-grey.png", 2)}, 0, 1, 0, {{0.5f, 0.5f, glowing(6.05f)}}},
        {"a mask shows the picture", 0, {still("Screen-Mask-white.png", 2, rightHalf), still("grey50.png", 2)}, 0, 0,
         1, {{0.75f, 0.5f, {0, 0.6f, 0, 1}}, {0.25f, 0.5f, grey(half)}}},
        // mix(white, green x 0.5, 0.5) = (0.5, 0.65, 0.5, 0.75), over the grey
        {"half way", 0, {still("Screen-Mask-white.png", 2, rightHalf), still("grey50.png", 2)}, 0, 0, 0.5f,
         {{0.75f, 0.5f, {0.5f + half / 4, 0.65f + half / 4, 0.5f + half / 4, 1}}}},
        {"not through other layers", 0, {still("white.png", 2, rightHalf), still("grey50.png", 2)}, 0, 0, 1,
         {{0.75f, 0.5f, grey(1)}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::fill(std::begin(valley_->background), std::begin(valley_->background) + 3, c.background);
        valley_->glowIntensity = c.glow;
        valley_->fxIntensity = c.fx;
        valley_->sceneFiles = {};
        setScene(c.scene, c.layers);
        showAt(1.0f);
        for (const Check& check : c.checks) EXPECT_TRUE(outputAt(check.s, check.t, check.expected)) << check.s << ", " << check.t;
    }
}

TEST_F(ParallaxGraph, LayerPicturesComeFromGraphicsAndProblemsAreReportedOnceEach) {
    writePicture("Graphics/black.png", 1, 1, 3, {0, 255, 0});  // what every "Solid" layer shows
    writePicture("Graphics/top.png", 1, 1, 3, {0, 0, 255});
    // The last layer's second key is cut short: the layer keeps its first.
    SceneLayerRecord solid = still("Solid white", 2);
    solid.keys.push_back(solid.keys[0]);
    std::vector<uint8_t> bytes = writeSceneFile({still("missing.png", 2), still("top.pn", 2, {0, 0, 1920, 540}), solid});
    bytes.resize(bytes.size() - 10);
    ASSERT_TRUE(platform::writeFile("cut.scn", bytes));
    valley_->sceneFiles[0] = "cut.scn";
    platform::DebugCapture log;
    showAt(1.0f);
    EXPECT_TRUE(outputAt(0.5f, 0.25f, {0, 0, 1, 1}));  // "top.pn" found as "top.png"
    EXPECT_TRUE(outputAt(0.5f, 0.75f, {0, 1, 0, 1}));
    ASSERT_EQ(valley_->layersOf(0).size(), 2u);
    EXPECT_EQ(valley_->layersOf(0)[1].keys.size(), 1u);
    int linesNamingTheFile = 0;
    std::istringstream lines(log.text());
    for (std::string line; std::getline(lines, line);) linesNamingTheFile += line.find("cut.scn") != std::string::npos;
    EXPECT_EQ(linesNamingTheFile, 2) << log.text();
    EXPECT_TRUE(log.contains("byte 1644")) << log.text();  // 3 x 520 + 3 x 28: where the cut key starts
    EXPECT_TRUE(log.contains("missing.png")) << log.text();
}

TEST_F(ParallaxGraph, TheOutputStartsTransparentAndKeepsItsPictureWhileNoSceneHasLayers) {
    setScene(5, {still("grey50.png", 2)});
    valley_->startTimes[5] = 10.0f;
    const Colour grey50 = grey(128.0f / 255.0f);
    for (auto [time, expected] : {std::pair{5.0f, Colour{0, 0, 0, 0}}, {10.5f, grey50}, {5.0f, grey50}}) {
        showAt(time);
        EXPECT_TRUE(outputAt(0.5f, 0.5f, expected)) << time;
    }
}

TEST_F(ParallaxGraph, ASteadyFrameCreatesAndDeletesNoGlObjects) {
    valley_->fxIntensity = 1.0f;
    // Scene 11: a dodge, a mask and a glow source, so every path is drawn.
    setScene(11, {still("Neon-grey.png", 6), still("Screen-Mask-white.png", 2, {0, 0, 960, 1080}),
                  still("grey50.png", 27), still("grey25.png", 2)});
    showAt(1.0f);  // loads the scene and its pictures
    GlObjectCount objects;
    for (float t : {1.1f, 1.2f, 1.3f}) showAt(t);
    EXPECT_EQ(objects.created(), 0);
    EXPECT_EQ(objects.deleted(), 0);
}

}  // namespace
}  // namespace vorn::test
