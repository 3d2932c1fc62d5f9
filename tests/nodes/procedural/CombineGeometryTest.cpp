#include "nodes/procedural/CombineGeometry.h"

#include "tests/nodes/scene/SceneTestNodes.h"

namespace vorn::test {
namespace {

class CombineGeometryTest : public ::testing::Test {
protected:
    void SetUp() override { combine = graph.create<nodes::GeometryNode_CombineGeometry>("Combine", "Combine Geometry"); }
    SceneGraph graph;
    nodes::GeometryNode_CombineGeometry* combine = nullptr;
};

TEST_F(CombineGeometryTest, MergesEveryInputsObjectsWithTheirPlacementAndMaterials) {
    graph.create<TestGeometry>("Empty", "Test Geometry");
    auto* first = graph.create<TestGeometry>("First", "Test Geometry");
    auto* second = graph.create<TestGeometry>("Second", "Test Geometry");
    const nodes::Material* own = &graph.create<TestMaterial>("Own", "Test Material")->record;
    const nodes::Material* shared = &graph.create<TestMaterial>("Shared", "Test Material")->record;
    first->modelMatrix = render::translationMatrix(1, 0, 0);
    first->material = shared;
    first->add("a", 10).matrix = render::scaleMatrix(2, 2, 2);
    first->add("b", 20).material = own;
    second->add("c", 30);
    graph.connect("Empty", "Combine", 0);
    graph.connect("First", "Combine", 2);
    graph.connect("Second", "Combine", 5);

    for (int frame = 0; frame < 2; ++frame) {  // the second frame rebuilds the same list
        graph.evaluateAt(*combine);
        ASSERT_EQ(combine->objects.size(), 3u);
        EXPECT_EQ(combine->objects[2].vertexArray, 30u);
        expectMaps(combine->objects[0].matrix, {1, 0, 0}, {3, 0, 0});
        expectMaps(combine->objects[2].matrix, {1, 0, 0}, {1, 0, 0});
        EXPECT_EQ(combine->objects[0].material, shared);
        EXPECT_EQ(combine->objects[1].material, own);
        EXPECT_EQ(combine->objects[2].material, nullptr);
        EXPECT_EQ(combine->material, shared);  // the first input that has one
    }
    graph.engine.deleteNode("First");
    graph.evaluateAt(*combine);
    EXPECT_EQ(combine->objects.size(), 1u);
    EXPECT_EQ(combine->material, nullptr);
}

TEST_F(CombineGeometryTest, TextNumbersScaleAndOffsetRotationAndTranslation) {
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
        graph.evaluateAt(*combine);
        SCOPED_TRACE(std::string("mrx ") + c.mrx + " rx " + c.rx + " tsc " + c.tsc);
        expectMaps(combine->modelMatrix, c.point, c.expected);
    }
}

}  // namespace
}  // namespace vorn::test
