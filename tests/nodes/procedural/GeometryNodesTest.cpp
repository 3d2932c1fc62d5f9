// "3D_Primitive", "Particle Mesher", "FallingModel" and "Combine Geometry".
#include "nodes/procedural/BlobSurface.h"
#include "nodes/procedural/CombineGeometry.h"
#include "nodes/procedural/FallingModels.h"
#include "nodes/procedural/ParticleMesher.h"
#include "nodes/procedural/Primitives.h"
#include "platform/Debug.h"
#include "tests/nodes/scene/SceneTest.h"
#include "tests/support/GlObjectCount.h"

#include <cmath>

namespace vorn::test {
namespace {

using namespace nodes;

using Vec = std::array<float, 3>;
Vec minus(const float* a, const float* b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
float dot(const Vec& a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
float length(const float* v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

TEST(BlobSurface, TwoUnitParticlesAtTheOriginMakeASphereOfRadiusRootTwoFacingOutward) {
    const Particle particles[] = {{0, 0, 0, 1}, {0, 0, 0, 1}};
    MeshData mesh = meshBlob(particles);
    ASSERT_GT(mesh.vertices.size(), 0u);
    ASSERT_EQ(mesh.indices.size(), mesh.vertices.size());
    EXPECT_EQ(mesh.indices.back(), mesh.vertices.size() - 1);
    // 2 / r² = 1 at r = √2; interpolating the field linearly along a radial
    // edge of 1/3 (r from 1.25 to 1.583) lands up to 0.03 beyond it. The
    // gradient, accumulated as 2·d / r⁴, has the length 2 / r³ = 1 / √2 there.
    for (const MeshVertex& v : mesh.vertices) {
        ASSERT_NEAR(length(v.position), std::sqrt(2.0f), 0.035f);
        ASSERT_NEAR(length(v.normal), std::sqrt(0.5f), 0.03f);
        const Vec normal{v.normal[0], v.normal[1], v.normal[2]};
        ASSERT_GT(dot(normal, v.position), 0.99f * length(v.normal) * length(v.position));
    }
    // Triangles wind counter-clockwise seen from outside (those through a grid
    // point collapse to nothing) and together cover the sphere's area 8π.
    double area = 0.0;
    for (std::size_t t = 0; t < mesh.vertices.size(); t += 3) {
        const float* a = mesh.vertices[t].position;
        Vec u = minus(mesh.vertices[t + 1].position, a), w = minus(mesh.vertices[t + 2].position, a);
        float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        ASSERT_GE(dot({n[0], n[1], n[2]}, a), 0.0f) << "triangle " << t / 3;
        area += 0.5 * length(n);
    }
    EXPECT_NEAR(area, 8.0 * M_PI, 0.02 * 8.0 * M_PI);
}

using GeometryNodes = SceneTest;

TEST_F(GeometryNodes, TheBlobIsBuiltOnANewFilenameTextReleasingTheOldOne) {
    auto* blob = create<GeometryNode_ParticleMesher>("Blob", "Particle Mesher");
    auto* material = create<TestMaterial>("Mat", "Test Material");
    connect("Mat", "Blob", 0);
    const struct {
        const char* filename;
        int created, deleted;  // a vertex array and two buffers per blob
    } steps[] = {{"", 0, 0}, {"particles.txt", 3, 0}, {"particles.txt", 0, 0}, {"other", 3, 3}};
    for (const auto& step : steps) {
        blob->filename = step.filename;
        GlObjectCount count;
        evaluateAt(*blob);
        EXPECT_EQ(count.created(), step.created) << step.filename;
        EXPECT_EQ(count.deleted(), step.deleted) << step.filename;
        ASSERT_EQ(blob->objects.size(), step.filename[0] ? 1u : 0u);
    }
    EXPECT_EQ(blob->material, &material->record);  // the node's, not the object's
    EXPECT_EQ(blob->objects[0].material, nullptr);
    blob->scale = 2.0f;
    blob->translate[1] = -1.0f;
    evaluateAt(*blob);
    expectMaps(blob->modelMatrix, {1, 1, 1}, {2, 1, 2});
}

TEST_F(GeometryNodes, ThePlaneHasItsTextureOriginTopLeftAndIsRebuiltOnlyForAMillionthOfUvChange) {
    auto* plane = create<GeometryNode_Primitives>("Plane", "3D_Primitive");
    auto* material = create<TestMaterial>("Mat", "Test Material");
    connect("Mat", "Plane", 0);
    plane->scaleX = 2.0f;
    plane->scaleY = 0.5f;
    plane->translate[2] = 3.0f;
    plane->rotate[2] = 90.0f;
    const struct { float offset[2], repeat[2], topLeft[2], bottomRight[2]; } cases[] = {
        {{0, 0}, {1, 1}, {0, 0}, {1, 1}}, {{0.5f, 0.25f}, {4, 2}, {0.5f, 0.25f}, {4.5f, 2.25f}}};
    for (const auto& c : cases) {
        std::copy_n(c.offset, 2, plane->uvOffset);
        std::copy_n(c.repeat, 2, plane->uvRepeat);
        evaluateAt(*plane);
        ASSERT_EQ(plane->objects.size(), 1u);
        const std::vector<std::array<float, 8>> rows = uploadedVertices(plane->objects[0]);
        ASSERT_EQ(rows.size(), 6u);
        for (const auto& v : rows) {  // corners of the square facing +z
            const float x = v[0] < 0 ? -1.0f : 1.0f, y = v[1] < 0 ? -1.0f : 1.0f;
            const float u = x < 0 ? c.topLeft[0] : c.bottomRight[0], w = y > 0 ? c.topLeft[1] : c.bottomRight[1];
            EXPECT_EQ(v, (std::array<float, 8>{x, y, 0, 0, 0, 1, u, w}));
        }
    }
    // (1, 1, 0) scaled to (2, 0.5, 0), turned a quarter about z to (-0.5, 2, 0), moved by 3 in z.
    expectMaps(plane->modelMatrix, {1, 1, 0}, {-0.5f, 2, 3});
    EXPECT_EQ(plane->objects[0].material, &material->record);  // the plane's own
    EXPECT_EQ(plane->material, nullptr);

    for (auto [step, objects] : {std::pair{4e-7f, 0}, {2e-6f, 3}, {0.0f, 0}}) {  // made and released
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

class Shower : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        model = create<TestGeometry>("Model", "Test Geometry");
        model->add("rock", 10);
        shower = create<GeometryNode_FallingModels>("Shower", "FallingModel");
        connect("Model", "Shower", 0);
    }
    TestGeometry* model = nullptr;
    GeometryNode_FallingModels* shower = nullptr;
};

TEST_F(Shower, ScattersInstancesFromSeed5000UntilCountOrSpeedChanges) {
    shower->count = "2";
    evaluateAt(*shower);
    // Draws of srand(5000): 16366 10231 16527 27677, then 4895 17414 5820 10439.
    const float expected[2][5] = {{0.366f, 0.231f, 0.473f, -0.677f, 0}, {0.895f, 7.414f, -0.82f, 0.561f, 0}};
    ASSERT_EQ(shower->instances().size(), 2u);
    for (int i = 0; i < 2; ++i) {
        const FallingInstance& instance = shower->instances()[i];
        const float actual[5] = {instance.spare, instance.timeShift, instance.z, instance.x, instance.y};
        for (int k = 0; k < 5; ++k) EXPECT_NEAR(actual[k], expected[i][k], 1e-5f) << i << ", " << k;
    }
    // "Time Alive" alone keeps the shifts; a new "Speed" text (same number) draws again.
    shower->timeAlive = 5.0f;
    evaluateAt(*shower);
    EXPECT_NEAR(shower->instances()[0].timeShift, 0.231f, 1e-5f);
    shower->speed = "1";
    evaluateAt(*shower);
    EXPECT_NEAR(shower->instances()[0].timeShift, 0.1155f, 1e-5f);
}

TEST_F(Shower, CountTextsAreReadAsTheRuntimeReadsThemAndHeldAtOneHundredThousand) {
    const struct {
        const char* count;
        std::size_t instances;
        int lines;  // one diagnostic for a held count, not one per frame
    } cases[] = {{"99999999999999999999", 100000, 1}, {"32", 32, 0}, {"0", 0, 0},   {"abc", 0, 0},
                 {"12 rocks", 12, 0},                 {"-5", 0, 0},  {"200000", 100000, 1}};
    for (const auto& c : cases) {
        shower->count = c.count;
        platform::DebugCapture log;
        evaluateAt(*shower);
        evaluateAt(*shower, 1.0f);
        EXPECT_EQ(shower->objects.size(), c.instances) << c.count;
        EXPECT_EQ(std::count(log.text().begin(), log.text().end(), '\n'), c.lines) << c.count;
    }
}

TEST_F(Shower, EachCopyFallsAndGrowsFromItsShiftAroundTheModelsPlacement) {
    model->objects[0].matrix = render::scaleMatrix(3, 3, 3);
    model->objects[0].material = &create<TestMaterial>("Mat", "Test Material")->record;
    model->add("pebble", 20);  // only the first object falls
    model->modelMatrix = render::translationMatrix(0, 0, 5);
    shower->count = "1";
    shower->speed = "2";
    // Instance 0 lies at x = -0.677, z = 0.473 with the shift 0.231. At t = 1:
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
    EXPECT_EQ(shower->material, nullptr);
    engine.deleteNode("Model");
    evaluateAt(*shower);
    ASSERT_EQ(shower->objects.size(), 1u);
    EXPECT_EQ(shower->objects[0].vertexArray, 0u);
}

TEST_F(GeometryNodes, CombineMergesEveryInputsObjectsWithTheirPlacementAndMaterials) {
    auto* combine = create<GeometryNode_CombineGeometry>("Combine", "Combine Geometry");
    create<TestGeometry>("Empty", "Test Geometry");
    auto* first = create<TestGeometry>("First", "Test Geometry");
    auto* second = create<TestGeometry>("Second", "Test Geometry");
    const Material* own = &create<TestMaterial>("Own", "Test Material")->record;
    const Material* shared = &create<TestMaterial>("Shared", "Test Material")->record;
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
    engine.deleteNode("First");
    evaluateAt(*combine);
    EXPECT_EQ(combine->objects.size(), 1u);
    EXPECT_EQ(combine->material, nullptr);

    const struct {
        float translate[3], rotateX;
        const char *mrx, *rx, *tx, *ty, *tsc;
        render::Vec3 point, expected;
    } cases[] = {
        {{0, 0, 0}, 90, "1", "0", "0", "0", "1", {0, 1, 0}, {0, 0, 1}},  // a quarter turn about x
        {{0, 0, 0}, 90, "0", "0", "0", "0", "1", {0, 1, 0}, {0, 1, 0}},  // mrx 0 ignores Rotate.X
        {{0, 0, 0}, 0, "1", "90", "0", "0", "1", {0, 1, 0}, {0, 0, 1}},  // rx adds degrees
        {{0, 0, 0}, 45, "2", "0", "0", "0", "1", {0, 1, 0}, {0, 0, 1}},  // mrx multiplies
        {{1, 2, 3}, 0, "1", "0", "5", "0", "0", {0, 0, 0}, {5, 0, 0}},   // tsc 0 leaves only tx
        {{1, 2, 3}, 0, "1", "0", "0", "1", "2", {0, 0, 0}, {2, 5, 6}},
        {{1, 2, 3}, 90, "one", "0", "x", "0", "abc", {0, 1, 0}, {0, 1, 0}},  // no number reads as 0
    };
    for (const auto& c : cases) {
        std::copy_n(c.translate, 3, combine->translate);
        combine->rotate[0] = c.rotateX;
        combine->mrx = c.mrx, combine->rx = c.rx, combine->tx = c.tx, combine->ty = c.ty, combine->tsc = c.tsc;
        evaluateAt(*combine);
        SCOPED_TRACE(std::string("mrx ") + c.mrx + " rx " + c.rx + " tsc " + c.tsc);
        expectMaps(combine->modelMatrix, c.point, c.expected);
    }
}

}  // namespace
}  // namespace vorn::test
