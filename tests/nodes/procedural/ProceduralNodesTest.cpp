// "3D_Primitive", "Particle Mesher", "FallingModel", "Combine Geometry" and "Render_Flake".
#include "nodes/procedural/CombineGeometry.h"
#include "nodes/procedural/FallingModels.h"
#include "nodes/procedural/FlakeLayout.h"
#include "nodes/procedural/FlakeRender.h"
#include "nodes/procedural/ParticleMesher.h"
#include "nodes/procedural/Primitives.h"
#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "tests/nodes/scene/SceneTest.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlObjectCount.h"

#include <cmath>
#include <cstring>

namespace vorn::test {
namespace {

using namespace nodes;

using Vec = std::array<float, 3>;
Vec minus(const float* a, const float* b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
float dot(const Vec& a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
float length(const float* v) { return std::sqrt(dot({v[0], v[1], v[2]}, v)); }

using ProceduralNodes = SceneTest;

TEST_F(ProceduralNodes, TheBlobIsAnOutwardSphereOfRadiusRootTwoRebuiltOnANewFilenameText) {
    auto* blob = create<GeometryNode_ParticleMesher>("Blob", "Particle Mesher");
    create<PBR_MaterialNode>("Mat", "PBR_Material");
    connect("Mat", "Blob", 0);
    // A vertex array and two buffers per blob, the old one released.
    for (auto [filename, created, deleted] :
         {std::tuple{"", 0, 0}, {"particles.txt", 3, 0}, {"particles.txt", 0, 0}, {"other", 3, 3}}) {
        blob->filename = filename;
        GlObjectCount count;
        evaluateAt(*blob);
        EXPECT_EQ(count.created(), created) << filename;
        EXPECT_EQ(count.deleted(), deleted) << filename;
        ASSERT_EQ(blob->objects.size(), filename[0] ? 1u : 0u);
    }

    // Two unit particles at the origin: 2 / r² = 1 at r = √2; interpolating the
    // field linearly along a radial edge of 1/3 (r from 1.25 to 1.583) lands up
    // to 0.03 beyond it. The gradient, accumulated as 2·d / r⁴, has the length
    // 2 / r³ = 1 / √2 there.
    const std::vector<VertexRow> rows = uploadedVertices(blob->objects[0]);
    ASSERT_GT(rows.size(), 0u);
    for (const VertexRow& v : rows) {
        ASSERT_NEAR(length(&v[0]), std::sqrt(2.0f), 0.035f);
        ASSERT_NEAR(length(&v[3]), std::sqrt(0.5f), 0.03f);
        ASSERT_GT(dot({v[3], v[4], v[5]}, &v[0]), 0.99f * length(&v[3]) * length(&v[0]));
    }
    // Triangles wind counter-clockwise seen from outside (those through a grid
    // point collapse to nothing) and together cover the sphere's area 8π.
    double area = 0.0;
    for (std::size_t t = 0; t < rows.size(); t += 3) {
        const float* a = &rows[t][0];
        Vec u = minus(&rows[t + 1][0], a), w = minus(&rows[t + 2][0], a);
        float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        ASSERT_GE(dot({n[0], n[1], n[2]}, a), 0.0f) << "triangle " << t / 3;
        area += 0.5 * length(n);
    }
    EXPECT_NEAR(area, 8.0 * M_PI, 0.02 * 8.0 * M_PI);
}

TEST_F(ProceduralNodes, ThePlaneHasItsTextureOriginTopLeftAndIsRebuiltOnlyForAMillionthOfUvChange) {
    auto* plane = create<GeometryNode_Primitives>("Plane", "3D_Primitive");
    auto* material = create<PBR_MaterialNode>("Mat", "PBR_Material");
    connect("Mat", "Plane", 0);
    const struct { float offset[2], repeat[2], topLeft[2], bottomRight[2]; } cases[] = {
        {{0, 0}, {1, 1}, {0, 0}, {1, 1}}, {{0.5f, 0.25f}, {4, 2}, {0.5f, 0.25f}, {4.5f, 2.25f}}};
    for (const auto& c : cases) {
        std::copy_n(c.offset, 2, plane->uvOffset);
        std::copy_n(c.repeat, 2, plane->uvRepeat);
        evaluateAt(*plane);
        ASSERT_EQ(plane->objects.size(), 1u);
        ASSERT_EQ(plane->objects[0].vertexCount, 6u);
        for (const VertexRow& v : uploadedVertices(plane->objects[0])) {  // corners of the square facing +z
            const float x = v[0] < 0 ? -1.0f : 1.0f, y = v[1] < 0 ? -1.0f : 1.0f;
            const float u = x < 0 ? c.topLeft[0] : c.bottomRight[0], w = y > 0 ? c.topLeft[1] : c.bottomRight[1];
            EXPECT_EQ(v, (VertexRow{x, y, 0, 0, 0, 1, u, w}));
        }
    }
    EXPECT_EQ(plane->objects[0].material, &material->record);  // the plane's own
    for (auto [step, objects] : {std::pair{4e-7f, 0}, {2e-6f, 3}}) {  // made and released
        GlObjectCount count;
        plane->uvOffset[0] += step;
        evaluateAt(*plane);
        EXPECT_EQ(count.created(), objects) << step;
        EXPECT_EQ(count.deleted(), objects) << step;
    }
    engine.deleteNode("Mat");
    evaluateAt(*plane);
    EXPECT_EQ(plane->objects[0].material, nullptr);  // goes with the input
}

TEST_F(ProceduralNodes, FallingCopiesScatterFromSeed5000AndFallAndGrowFromTheirShiftAroundTheModel) {
    auto* model = create<TestGeometry>("Model", "Test Geometry");
    model->add("rock", 10);
    auto* shower = create<GeometryNode_FallingModels>("Shower", "FallingModel");
    connect("Model", "Shower", 0);
    // "Count" is read as the C runtime reads it, held at 100,000 with one line, not one per frame.
    for (auto [text, copies, lines] : {std::tuple{"99999999999999999999", 100000u, 1}, {"32", 32u, 0}, {"0", 0u, 0},
                                       {"abc", 0u, 0}, {"12 rocks", 12u, 0}, {"-5", 0u, 0}, {"200000", 100000u, 1}}) {
        shower->count = text;
        platform::DebugCapture log;
        evaluateAt(*shower);
        evaluateAt(*shower, 1.0f);
        EXPECT_EQ(shower->objects.size(), copies) << text;
        EXPECT_EQ(std::count(log.text().begin(), log.text().end(), '\n'), lines) << text;
    }

    model->objects[0].matrix = render::scaleMatrix(3, 3, 3);
    model->objects[0].material = &create<PBR_MaterialNode>("Mat", "PBR_Material")->record;
    model->add("pebble", 20);  // only the first object falls
    model->modelMatrix = render::translationMatrix(0, 0, 5);
    shower->count = "1";
    shower->speed = "2";
    // The first draws of srand(5000), 16366 10231 16527 27677, put copy 0 at
    // x = -0.677, z = 0.473 with the shift 0.231. At t = 1:
    const std::pair<float, render::Vec3> cases[] = {  // "Time Offset", where (1, 0, 0) of the model lands
        // base = 2 + 0.231 - 1.731 = 0.5: fallen 0.25 at a quarter of the size. (1, 0, 0)
        // shrinks to (0.25, 0, 0), moves with the model to z = 5, is scaled by the object's 3.
        {1.731f, {-6.77f + 0.75f, -0.25f, 4.73f + 15}},
        {0.231f, {-6.77f + 3, -4.0f, 4.73f + 15}},             // base 2: full size, fallen 4
        {-10.0f, {-6.77f + 3, -2.231f * 2.231f, 4.73f + 15}},  // base 12.231 wraps at 10 to 2.231
    };
    for (const auto& [offset, expected] : cases) {
        shower->timeOffset = offset;
        evaluateAt(*shower, 1.0f);
        ASSERT_EQ(shower->objects.size(), 1u);
        expectMaps(shower->objects[0].matrix, {1, 0, 0}, expected, 1e-4f);
    }
    EXPECT_EQ(shower->objects[0].vertexArray, 10u);
    EXPECT_EQ(shower->objects[0].material, model->objects[0].material);
    engine.deleteNode("Model");
    evaluateAt(*shower);
    ASSERT_EQ(shower->objects.size(), 1u);
    EXPECT_EQ(shower->objects[0].vertexArray, 0u);
}

TEST_F(ProceduralNodes, CombineMergesEveryInputsObjectsWithTheirPlacementAndMaterials) {
    auto* combine = create<GeometryNode_CombineGeometry>("Combine", "Combine Geometry");
    create<TestGeometry>("Empty", "Test Geometry");
    auto* first = create<TestGeometry>("First", "Test Geometry");
    auto* second = create<TestGeometry>("Second", "Test Geometry");
    const Material* own = &create<PBR_MaterialNode>("Own", "PBR_Material")->record;
    const Material* shared = &create<PBR_MaterialNode>("Shared", "PBR_Material")->record;
    first->modelMatrix = render::translationMatrix(1, 0, 0);
    first->material = shared;
    first->add("a", 10).matrix = render::scaleMatrix(2, 2, 2);
    first->add("b", 20).material = own;
    second->add("c", 30);
    for (auto [source, input] : {std::pair{"Empty", 0}, {"First", 2}, {"Second", 5}}) connect(source, "Combine", input);
    for (int frame = 0; frame < 2; ++frame) {  // the second frame rebuilds the same list
        evaluateAt(*combine);
        ASSERT_EQ(combine->objects.size(), 3u);
        EXPECT_EQ(combine->objects[2].vertexArray, 30u);
        expectMaps(combine->objects[0].matrix, {1, 0, 0}, {3, 0, 0});
        expectMaps(combine->objects[2].matrix, {1, 0, 0}, {1, 0, 0});
        for (auto [object, material] : {std::pair{0, shared}, {1, own}, {2, nullptr}})
            EXPECT_EQ(combine->objects[std::size_t(object)].material, material) << object;
        EXPECT_EQ(combine->material, shared);  // the first input that has one
    }
    // The texts scale and offset the keyed placement; one that is not a number counts as 0.
    std::copy_n(std::array{1.0f, 2.0f, 0.0f}.data(), 3, combine->translate);
    combine->rotate[2] = 45.0f;
    combine->tsc = "2", combine->tx = "0.5", combine->ty = "abc", combine->mrz = "2", combine->rz = "-90";
    evaluateAt(*combine);
    expectMaps(combine->modelMatrix, {1, 0, 0}, {3.5f, 4, 0});
}

TEST(FlakeLayout, MoreFlakesKeepTheFirstWhereTheyWereAndTheFirstFollowsTheSeed) {
    const std::vector<FlakeVertex> few = generateFlakes(10, 4.0f), more = generateFlakes(20, 4.0f);
    for (std::size_t i = 0; i < few.size(); ++i)
        EXPECT_EQ(std::memcmp(&few[i], &more[i], sizeof(FlakeVertex)), 0) << "flake " << i;
    // The seed's first draws 25756, 8082, 1211, 19154, 12489: (d mod 2000) / 1000 - 1, then cells (d mod 4) / 4.
    const FlakeVertex& first = few[0];
    for (auto [axis, expected] : {std::pair{0, 0.756f}, {1, -0.918f}, {2, 0.211f}})
        EXPECT_NEAR(first.positionSize[axis], expected, 1e-6f) << "axis " << axis;
    EXPECT_EQ(first.textureOffset[0], 0.5f);
    EXPECT_EQ(first.textureOffset[1], 0.25f);
}

// A scene picture that publishes one eye distance everywhere as its depth.
class DepthPicture : public ImageNode {
public:
    using ImageNode::ImageNode;
    ~DepthPicture() override { glDeleteTextures(1, &depthChannelTexture); }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
};

TEST_F(ProceduralNodes, FlakeCountsAreHeldAndFlakesFadeOverOneFlakeSizeInFrontOfTheSceneAndFogWithDistance) {
    engine.factory.add("Depth Picture", engine::constructs<DepthPicture>());
    auto* flakes = create<ImageNode_FlakeRender>("Flakes", "Render_Flake");
    const std::vector<uint8_t> white(2 * 2 * 3, 255);
    ASSERT_TRUE(platform::writePngFile("atlas.png", 2, 2, 3, white.data()));
    flakes->atlasFile = "atlas.png";
    // Held inside 10 .. 10,000 for allocation and drawing; a keyed atlas of no cells still picks one.
    for (auto [count, atlasSize, built] : {std::tuple{100.7f, 10.0f, 100}, {5.0f, 10.0f, 10}, {1e9f, 10.0f, 10000},
                                           {-3.0f, 10.0f, 10}, {std::nanf(""), 10.0f, 10}, {20.5f, 0.0f, 20}}) {
        flakes->flakeCount = count;
        flakes->atlasSize = atlasSize;
        evaluateAt(*flakes);
        EXPECT_EQ(flakes->builtFlakeCount(), built) << count;
    }
    EXPECT_FALSE(flakes->hasError);

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
            auto* scene = create<DepthPicture>("Scene", "Depth Picture");
            scene->depthChannelTexture = floatTexel({0, 0, 1, c.sceneDistance});
            connect("Scene", "Flakes", 0);
        }
        if (c.cameraDistance > 0) {
            auto* camera = create<TestCamera>("Camera", "Test Camera");
            camera->viewMatrix = render::translationMatrix(0, 0, -c.cameraDistance);
            connect("Camera", "Flakes", 1);
        }
        flakes->depthAlpha = c.depthAlpha;
        evaluateAt(*flakes);
        // Red and alpha at the centre and far from the quads, rows counted from the bottom.
        const GLuint target = static_cast<render::GL_FrameBuffer*>(flakes->images[0])->framebuffer;
        const std::vector<float> centre = readAttachmentFloat(target, 0, 960, 540, 1, 1);
        const float colour = 1.0f - std::pow(1.0f - c.flakeAlpha, 10.0f);
        EXPECT_NEAR(centre[0], colour, 3e-3f) << c.sceneDistance << " " << c.depthAlpha;
        EXPECT_NEAR(centre[3], c.flakeAlpha * colour, 3e-3f) << c.sceneDistance << " " << c.depthAlpha;
        EXPECT_EQ(readAttachmentFloat(target, 0, 100, 100, 1, 1)[3], 0.0f);
    }
}

}  // namespace
}  // namespace vorn::test
