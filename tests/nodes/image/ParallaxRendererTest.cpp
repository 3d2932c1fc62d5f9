#include "nodes/image/ParallaxRenderer.h"

#include "nodes/image/SceneFile.h"
#include "platform/Debug.h"
#include "tests/nodes/image/TestPictures.h"
#include "tests/support/GlObjectCount.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorn::test {
namespace {

using nodes::ImageNode_2DParallaxRenderer;
using nodes::SceneLayerRecord;

constexpr float kHalf = 128.0f / 255.0f;     // an 8-bit 128
constexpr float kQuarter = 64.0f / 255.0f;   // an 8-bit 64
constexpr Rgba kGrey50{128, 128, 128, 255};
constexpr Rgba kGrey25{64, 64, 64, 255};
constexpr Rgba kGrey20{51, 51, 51, 255};
constexpr Rgba kHalfRed{255, 0, 0, 128};  // as files hold it; premultiplied when loaded

// A 4 x 4 picture in Graphics/: the top two rows `top`, the bottom two `bottom`.
void writeLayerPicture(const std::string& name, Rgba top, Rgba bottom) {
    std::vector<uint8_t> pixels;
    for (int i = 0; i < 16; ++i) {
        Rgba c = i < 8 ? top : bottom;
        pixels.insert(pixels.end(), {c.r, c.g, c.b, c.a});
    }
    writePicture("Graphics/" + name, 4, 4, 4, pixels);
}
void writeLayerPicture(const std::string& name, Rgba c) { writeLayerPicture(name, c, c); }

// A layer that stands on a rectangle of the frame (pixels: left, y0, right, y1).
SceneLayerRecord still(std::string name, int32_t mode, std::array<float, 4> rect = {0, 0, 1920, 1080},
                       float opacity = 1.0f) {
    return {std::move(name), "", mode, {{0, 0, rect[0], rect[1], rect[2], rect[3], opacity}}};
}

int linesNaming(const platform::DebugCapture& log, const std::string& name) {
    int lines = 0;
    for (std::size_t at = 0; (at = log.text().find(name, at)) != std::string::npos; at = log.text().find('\n', at))
        ++lines;
    return lines;
}

class ParallaxGraph : public PlayerGraph {
protected:
    void SetUp() override {
        PlayerGraph::SetUp();
        ASSERT_TRUE(platform::makeDirectory("Graphics"));
        valley_ = create<ImageNode_2DParallaxRenderer>("Valley", "2D Parallax Engine");
        ASSERT_NE(valley_, nullptr);
        create<engine::Node>("Viewer 1", "Viewer");
        connect("Valley", "Viewer 1", 0);
        // Without glow unless a test asks for it; then it lies on its source.
        valley_->glowIntensity = 0.0f;
        valley_->glowRadius = 0.0f;
    }

    // Scene index `scene` holds the layers and starts at 0 s. Every call writes
    // a file of a new name: scenes reload only when their file name changes.
    void setScene(int scene, const std::vector<SceneLayerRecord>& layers) {
        std::string file = "scene" + std::to_string(++files_) + ".scn";
        ASSERT_TRUE(platform::writeFile(file, nodes::writeSceneFile(layers)));
        valley_->sceneFiles[scene] = file;
    }

    Colour outputAt(float s, float t) { return texelOf(*valley_, s, t); }

    ImageNode_2DParallaxRenderer* valley_ = nullptr;
    int files_ = 0;
};

TEST_F(ParallaxGraph, LayersBlendByTheirModesAndDodgeOnlyInTheTwelfthScene) {
    writeLayerPicture("grey50.png", kGrey50);
    writeLayerPicture("grey25.png", kGrey25);
    writeLayerPicture("red.png", kHalfRed);
    struct Case {
        const char* what;
        int scene;
        std::vector<SceneLayerRecord> layers;  // the first is drawn last, on top
        float background;                     // grey level, opaque
        float expected[3];
    };
    // Screen: s + d (1 - s); over: s + d (1 - s.alpha). The output screens the
    // layers' picture once more over the background.
    const float screened = kHalf + 0.5f * (1 - kHalf);
    const float dodged = kQuarter / (1 - kHalf);  // base / (1 - blend)
    const Case cases[] = {
        {"half-transparent red over black", 0, {still("red.png", 2)}, 0.0f, {kHalf, 0, 0}},
        {"over an opaque grey", 0, {still("grey50.png", 2)}, 0.5f, {screened, screened, screened}},
        {"screen", 0, {still("grey50.png", 6)}, 0.5f,
         {screened + 0.5f * (1 - screened), screened + 0.5f * (1 - screened), screened + 0.5f * (1 - screened)}},
        {"dodge in scene 11", 11, {still("grey50.png", 27), still("grey25.png", 2)}, 0.0f, {dodged, dodged, dodged}},
        {"mode 27 screens elsewhere", 10, {still("grey50.png", 27), still("grey25.png", 2)}, 0.0f,
         {kHalf + kQuarter * (1 - kHalf), kHalf + kQuarter * (1 - kHalf), kHalf + kQuarter * (1 - kHalf)}},
        {"layers after a dodge blend again", 11,
         {still("red.png", 2), still("grey50.png", 27), still("grey25.png", 2)}, 0.0f,
         {kHalf + dodged * (1 - kHalf), dodged * (1 - kHalf), dodged * (1 - kHalf)}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::fill(std::begin(valley_->background), std::end(valley_->background), c.background);
        valley_->background[3] = 1.0f;
        valley_->sceneFiles = {};
        setScene(c.scene, c.layers);
        showAt(1.0f);
        expectColour(outputAt(0.5f, 0.5f), {c.expected[0], c.expected[1], c.expected[2], 1.0f});
    }
}

TEST_F(ParallaxGraph, LayersLandWhereTheirKeysPlaceThemTheirTopRowAtY0) {
    writeLayerPicture("red-over-blue.png", {255, 0, 0, 255}, {0, 0, 255, 255});
    // The rectangle x 480 ... 1440, y 270 ... 810; flipped, y0 is its lower edge.
    for (bool flipped : {false, true}) {
        std::array<float, 4> rect = flipped ? std::array<float, 4>{480, 810, 1440, 270}
                                            : std::array<float, 4>{480, 270, 1440, 810};
        setScene(0, {still("red-over-blue.png", 2, rect)});
        showAt(1.0f);
        const Colour red{1, 0, 0, 1}, blue{0, 0, 1, 1};
        expectColour(outputAt(0.5f, 0.3f), flipped ? blue : red);  // frame row 324
        expectColour(outputAt(0.5f, 0.7f), flipped ? red : blue);  // frame row 756
        expectColour(outputAt(0.2f, 0.5f), {0, 0, 0, 1});           // left of it: the background
    }
}

TEST_F(ParallaxGraph, NeonLayersFeedTheGlowAndOthersDoNot) {
    writeLayerPicture("Neon-grey.png", kGrey20);
    writeLayerPicture("grey.png", kGrey20);
    // Colour 0.2; neon 0.2 where the layer is a glow source; the glow is the
    // colour times the neon (Glow:Mask 1) times the scene's factor, screened on.
    auto glowing = [](float factor) { return 0.04f * factor + 0.2f * (1 - 0.04f * factor); };
    valley_->glowIntensity = 1.0f;
    struct Case {
        const char* name;
        int scene;
        float expected;
    } cases[] = {{"Neon-grey.png", 0, glowing(3.0f)}, {"grey.png", 0, 0.2f}, {"Neon-grey.png", 1, glowing(6.05f)}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + " in scene " + std::to_string(c.scene));
        valley_->sceneFiles = {};
        setScene(c.scene, {still(c.name, 2)});
        showAt(1.0f);
        expectColour(outputAt(0.5f, 0.5f), {c.expected, c.expected, c.expected, 1.0f});
    }
}

TEST_F(ParallaxGraph, MaskLayersShowTheMaskedPictureWhereTheyCover) {
    writeLayerPicture("Screen-Mask-white.png", {255, 255, 255, 255});
    writeLayerPicture("white.png", {255, 255, 255, 255});
    writeLayerPicture("grey50.png", kGrey50);
    Paint* fx = paint("Picture", {0, 0.6f, 0, 1});
    // The masked picture is sampled at half scale: on the mask layer that shows
    // the same even green, but the final picture must not be scaled with it.
    fx->textureMatrix = render::scaleMatrix(0.5f, 0.5f, 1.0f);
    connect("Picture", "Valley", 0);
    const std::array<float, 4> rightHalf{960, 0, 1920, 1080};
    struct Case {
        const char* what;
        const char* name;
        float fxIntensity;
        Colour right;
    } cases[] = {
        {"fully", "Screen-Mask-white.png", 1.0f, {0, 0.6f, 0, 1}},
        // mix(white, green x 0.5, 0.5) = (0.5, 0.65, 0.5, 0.75), over the grey
        {"half way", "Screen-Mask-white.png", 0.5f, {0.5f + kHalf / 4, 0.65f + kHalf / 4, 0.5f + kHalf / 4, 1}},
        {"not through other layers", "white.png", 1.0f, {1, 1, 1, 1}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        valley_->fxIntensity = c.fxIntensity;
        setScene(0, {still(c.name, 2, rightHalf), still("grey50.png", 2)});
        showAt(1.0f);
        expectColour(outputAt(0.75f, 0.5f), c.right);
        expectColour(outputAt(0.25f, 0.5f), {kHalf, kHalf, kHalf, 1});
    }
}

TEST_F(ParallaxGraph, LayerPicturesComeFromGraphicsAndProblemsAreReportedOnceEach) {
    writeLayerPicture("black.png", {0, 255, 0, 255});  // what every "Solid" layer shows
    writeLayerPicture("top.png", {0, 0, 255, 255});
    // The last layer's second key is cut short: the layer keeps its first.
    SceneLayerRecord solid = still("Solid white", 2);
    solid.keys.push_back(solid.keys[0]);
    std::vector<uint8_t> bytes = nodes::writeSceneFile({still("missing.png", 2), still("top.pn", 2, {0, 0, 1920, 540}), solid});
    bytes.resize(bytes.size() - 10);
    ASSERT_TRUE(platform::writeFile("cut.scn", bytes));
    valley_->sceneFiles[0] = "cut.scn";
    platform::DebugCapture log;
    showAt(1.0f);
    expectColour(outputAt(0.5f, 0.25f), {0, 0, 1, 1});  // "top.pn" found as "top.png"
    expectColour(outputAt(0.5f, 0.75f), {0, 1, 0, 1});
    ASSERT_EQ(valley_->layersOf(0).size(), 2u);
    EXPECT_EQ(valley_->layersOf(0)[1].keys.size(), 1u);
    EXPECT_EQ(linesNaming(log, "cut.scn"), 2) << log.text();
    EXPECT_TRUE(log.contains("byte 1644")) << log.text();  // 3 x 520 + 3 x 28: where the cut key starts
    EXPECT_TRUE(log.contains("missing.png")) << log.text();
}

TEST_F(ParallaxGraph, TheOutputStartsTransparentAndKeepsItsPictureWhileNoSceneHasLayers) {
    writeLayerPicture("grey50.png", kGrey50);
    setScene(5, {still("grey50.png", 2)});
    valley_->startTimes[5] = 10.0f;
    const Colour grey{kHalf, kHalf, kHalf, 1};
    for (auto [time, expected] : {std::pair{5.0f, Colour{0, 0, 0, 0}}, {10.5f, grey}, {5.0f, grey}}) {
        SCOPED_TRACE(time);
        showAt(time);
        expectColour(outputAt(0.5f, 0.5f), expected);
    }
}

TEST_F(ParallaxGraph, ASteadyFrameCreatesAndDeletesNoGlObjects) {
    writeLayerPicture("Neon-sign.png", kGrey50);
    writeLayerPicture("Screen-Mask-a.png", kGrey50);
    writeLayerPicture("grey25.png", kGrey25);
    paint("Picture", {0, 0.6f, 0, 1});
    connect("Picture", "Valley", 0);
    valley_->fxIntensity = 1.0f;
    // Scene 11: a dodge, a mask and a glow source, so every path is drawn.
    writeLayerPicture("grey50.png", kGrey50);
    setScene(11, {still("Neon-sign.png", 6), still("Screen-Mask-a.png", 2, {0, 0, 960, 1080}),
                  still("grey50.png", 27), still("grey25.png", 2)});
    showAt(1.0f);  // loads the scene and its pictures
    GlObjectCount objects;
    for (float t : {1.1f, 1.2f, 1.3f}) showAt(t);
    EXPECT_EQ(objects.created(), 0);
    EXPECT_EQ(objects.deleted(), 0);
}

}  // namespace
}  // namespace vorn::test
