// "Render_Flake": its seeded layout, the counts it holds and what its picture shows.
#include "nodes/procedural/FlakeRender.h"

#include "nodes/procedural/FlakeLayout.h"
#include "platform/ImageEncoder.h"
#include "tests/nodes/scene/SceneTest.h"
#include "tests/render/ReadBack.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace vorn::test {
namespace {

TEST(FlakeLayout, FollowsSeedCaffee13AndKeepsTheFirstFlakesWhenTheCountGrows) {
    std::vector<nodes::FlakeVertex> few = nodes::generateFlakes(12, 10.0f), more = nodes::generateFlakes(40, 10.0f);
    ASSERT_EQ(few.size(), 12u);
    ASSERT_EQ(more.size(), 40u);
    // Draws of srand(0xCAFFEE13): 25756 8082 1211 | 19154 12489 | 19297 30351 8910 | (30890).
    const float expected[12] = {0.756f, -0.918f, 0.211f, 1, 0.4f, 0.9f, 0.1f, 0.1f, 0.297f, -0.649f, -0.09f, 1};
    const float* first = reinterpret_cast<const float*>(&few[0]);  // the three float4 attributes
    for (int i = 0; i < 12; ++i) EXPECT_NEAR(first[i], expected[i], 1e-6f) << i;
    EXPECT_EQ(std::memcmp(few.data(), more.data(), few.size() * sizeof(nodes::FlakeVertex)), 0);
}

// A scene picture that publishes one eye distance everywhere as its depth.
class DepthPicture : public nodes::ImageNode {
public:
    DepthPicture(engine::Engine& owner, std::string name) : ImageNode(owner, std::move(name)) {
        glGenTextures(1, &depthChannelTexture);
    }
    ~DepthPicture() override { glDeleteTextures(1, &depthChannelTexture); }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
    void setDistance(float distance) {
        const float texel[4] = {0, 0, 1, distance};
        glBindTexture(GL_TEXTURE_2D, depthChannelTexture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, texel);
        glBindTexture(GL_TEXTURE_2D, 0);
    }
};

class FlakeRender : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        engine.factory.add("Depth Picture", engine::constructs<DepthPicture>());
        flakes = create<nodes::ImageNode_FlakeRender>("Flakes", "Render_Flake");
        const std::vector<uint8_t> white(2 * 2 * 3, 255);
        ASSERT_TRUE(platform::writePngFile("atlas.png", 2, 2, 3, white.data()));
        flakes->atlasFile = "atlas.png";
    }
    // Red and alpha of the flake picture at a pixel counted from the bottom-left corner.
    std::array<float, 2> redAlpha(int x, int y) {
        auto* target = static_cast<render::GL_FrameBuffer*>(flakes->images[0]);
        std::vector<float> rgba = readAttachmentFloat(target->framebuffer, 0, x, y, 1, 1);
        return {rgba[0], rgba[3]};
    }
    nodes::ImageNode_FlakeRender* flakes = nullptr;
};

TEST_F(FlakeRender, CountAndAtlasSizeAreHeldInsideTheirRangesForAllocationAndDrawing) {
    const struct { float count, atlasSize; int built; } cases[] = {
        {100.7f, 10, 100}, {100.2f, 10, 100}, {5, 10, 10}, {1e9f, 10, 10000}, {-3, 10, 10},
        {std::numeric_limits<float>::quiet_NaN(), 10, 10},
        {20.5f, 0, 20}};  // a keyed atlas of no cells still picks one
    for (const auto& c : cases) {
        flakes->flakeCount = c.count;
        flakes->atlasSize = c.atlasSize;
        evaluateAt(*flakes);
        EXPECT_EQ(flakes->builtFlakeCount(), c.built) << c.count;
    }
    EXPECT_FALSE(flakes->hasError);
}

TEST_F(FlakeRender, FlakesFadeOverOneFlakeSizeInFrontOfTheSceneAndFogWithDistance) {
    // Ten flakes at the centre of a region of no size, straight ahead of the camera.
    flakes->flakeCount = 10;
    std::fill_n(flakes->regionSize, 3, 0.0f);
    flakes->flakeSize = 0.1f;
    // Ten stacked white flakes of alpha a, blended with (a, 1 - a) in every
    // channel, leave the colour 1 - (1 - a)^10 and the alpha a·(1 - (1 - a)^10).
    const struct {
        float sceneDistance;   // 0: no depth input
        float cameraDistance;  // 0: no camera input (the default one at 1.5)
        float depthAlpha, flakeAlpha;
    } cases[] = {
        {0, 0, 0, 1},            // nothing hides them
        {10, 0, 0, 1},           // the scene far behind
        {1, 0, 0, 0},            // the scene in front
        {1.55f, 0, 0, 0.5f},     // half a flake size behind them
        {3.025f, 3, 0, 0.25f},   // a camera at 3, the scene a quarter size behind
        {0, 0, 0.5f, 0.56978f},  // fog: exp(-(0.5 · 1.5)²)
    };
    for (const auto& c : cases) {
        engine.deleteNode("Scene");
        engine.deleteNode("Camera");
        if (c.sceneDistance > 0) {
            create<DepthPicture>("Scene", "Depth Picture")->setDistance(c.sceneDistance);
            connect("Scene", "Flakes", 0);
        }
        if (c.cameraDistance > 0) {
            auto* camera = create<TestCamera>("Camera", "Test Camera");
            camera->viewMatrix = render::translationMatrix(0, 0, -c.cameraDistance);
            camera->projectionMatrix = defaultLens();
            connect("Camera", "Flakes", 1);
        }
        flakes->depthAlpha = c.depthAlpha;
        evaluateAt(*flakes);
        const float colour = 1.0f - std::pow(1.0f - c.flakeAlpha, 10.0f);
        std::array<float, 2> centre = redAlpha(960, 540);
        EXPECT_NEAR(centre[0], colour, 3e-3f) << c.sceneDistance << " " << c.depthAlpha;
        EXPECT_NEAR(centre[1], c.flakeAlpha * colour, 3e-3f) << c.sceneDistance << " " << c.depthAlpha;
        EXPECT_EQ(redAlpha(100, 100)[1], 0.0f);  // clear away from the quads
    }
}

}  // namespace
}  // namespace vorn::test
