#include "nodes/procedural/CombineGeometry.h"

#include "tests/nodes/scene/SceneTestNodes.h"

namespace vorn::test {
namespace {

using nodes::GeometryNode_CombineGeometry;

class CombineGeometryTest : public ::testing::Test {
protected:
    void SetUp() override {
        combine = graph.create<GeometryNode_CombineGeometry>("Combine", "Combine Geometry");
        ASSERT_NE(combine, nullptr);
    }
    SceneGraph graph;
    GeometryNode_CombineGeometry* combine = nullptr;
};

TEST_F(CombineGeometryTest, MergesEveryInputsObjectsWithTheirPlacementAndMaterials) {
    auto* empty = graph.create<TestGeometry>("Empty", "Test Geometry");
    auto* first = graph.create<TestGeometry>("First", "Test Geometry");
    auto* second = graph.create<TestGeometry>("Second", "Test Geometry");
    auto* own = graph.create<TestMaterial>("Own", "Test Material");
    auto* shared = graph.create<TestMaterial>("Shared", "Test Material");
    first->modelMatrix = render::translationMatrix(1, 0, 0);
    first->material = &shared->record;
    first->add("a", 10).matrix = render::scaleMatrix(2, 2, 2);
    first->add("b", 20).material = &own->record;
    second->add("c", 30);
    graph.connect("Empty", "Combine", 0);
    graph.connect("First", "Combine", 2);
    graph.connect("Second", "Combine", 5);

    for (int frame = 0; frame < 2; ++frame) {  // the second frame rebuilds the same list
        graph.evaluateAt(*combine);
        ASSERT_EQ(combine->objects.size(), 3u);
        EXPECT_EQ(combine->objects[0].name, "a");
        EXPECT_EQ(combine->objects[1].vertexArray, 20u);
        EXPECT_EQ(combine->objects[2].name, "c");
        expectPoint(transformed(combine->objects[0].matrix, {1, 0, 0}), {3, 0, 0});
        expectPoint(transformed(combine->objects[2].matrix, {1, 0, 0}), {1, 0, 0});
        EXPECT_EQ(combine->objects[0].material, &shared->record);
        EXPECT_EQ(combine->objects[1].material, &own->record);
        EXPECT_EQ(combine->objects[2].material, nullptr);
        // The first input with a material gives the node its own, though it comes after one without.
        EXPECT_EQ(combine->material, &shared->record);
    }
    EXPECT_TRUE(empty->objects.empty());

    graph.engine.deleteNode("First");
    graph.evaluateAt(*combine);
    ASSERT_EQ(combine->objects.size(), 1u);
    EXPECT_EQ(combine->material, nullptr);
}

TEST_F(CombineGeometryTest, TextNumbersScaleAndOffsetRotationAndTranslation) {
    struct Case {
        const char* label;
        float translate[3], rotateX;
        const char *mrx, *rx, *tx, *ty, *tsc;
        render::Vec3 point, expected;
    };
    const Case cases[] = {
        {"plain quarter turn about x", {0, 0, 0}, 90, "1", "0", "0", "0", "1", {0, 1, 0}, {0, 0, 1}},
        {"mrx 0 ignores Rotate.X", {0, 0, 0}, 90, "0", "0", "0", "0", "1", {0, 1, 0}, {0, 1, 0}},
        {"rx 90 adds a quarter turn", {0, 0, 0}, 0, "1", "90", "0", "0", "1", {0, 1, 0}, {0, 0, 1}},
        {"mrx 2 doubles Rotate.X", {0, 0, 0}, 45, "2", "0", "0", "0", "1", {0, 1, 0}, {0, 0, 1}},
        {"tsc 0 leaves only tx", {1, 2, 3}, 0, "1", "0", "5", "0", "0", {0, 0, 0}, {5, 0, 0}},
        {"tsc 2 and ty 1", {1, 2, 3}, 0, "1", "0", "0", "1", "2", {0, 0, 0}, {2, 5, 6}},
        {"no number reads as 0", {1, 2, 3}, 90, "one", "0", "x", "0", "abc", {0, 1, 0}, {0, 1, 0}},
    };
    for (const Case& c : cases) {
        std::copy(std::begin(c.translate), std::end(c.translate), combine->translate);
        combine->rotate[0] = c.rotateX;
        combine->mrx = c.mrx;
        combine->rx = c.rx;
        combine->tx = c.tx;
        combine->ty = c.ty;
        combine->tsc = c.tsc;
        graph.evaluateAt(*combine);
        SCOPED_TRACE(c.label);
        expectPoint(transformed(combine->modelMatrix, c.point), c.expected);
    }
}

}  // namespace
}  // namespace vorn::test
