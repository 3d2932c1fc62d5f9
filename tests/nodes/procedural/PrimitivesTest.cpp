#include "nodes/procedural/Primitives.h"

#include "tests/nodes/scene/SceneTestNodes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/GlObjectCount.h"

#include <vector>

namespace vorn::test {
namespace {

class PrimitiveTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        plane = graph.create<nodes::GeometryNode_Primitives>("Plane", "3D_Primitive");
    }
    SceneGraph graph;
    nodes::GeometryNode_Primitives* plane = nullptr;
};

TEST_F(PrimitiveTest, PlaneSpansTheSquareWithItsTextureCornersAtTopLeftAndIsPlacedWithItsOwnMaterial) {
    auto* material = graph.create<TestMaterial>("Mat", "Test Material");
    graph.connect("Mat", "Plane", 0);
    plane->scaleX = 2.0f;
    plane->scaleY = 0.5f;
    plane->translate[2] = 3.0f;
    plane->rotate[2] = 90.0f;
    struct Case {
        float offset[2], repeat[2], topLeftUv[2], bottomRightUv[2];
    };
    const Case cases[] = {{{0, 0}, {1, 1}, {0, 0}, {1, 1}}, {{0.5f, 0.25f}, {4, 2}, {0.5f, 0.25f}, {4.5f, 2.25f}}};
    for (const Case& c : cases) {
        std::copy_n(c.offset, 2, plane->uvOffset);
        std::copy_n(c.repeat, 2, plane->uvRepeat);
        graph.evaluateAt(*plane);
        ASSERT_EQ(plane->objects.size(), 1u);
        EXPECT_EQ(plane->objects[0].name, "Plane");
        std::vector<nodes::MeshVertex> v(6);
        glBindBuffer(GL_ARRAY_BUFFER, plane->objects[0].vertexBuffer);
        glGetBufferSubData(GL_ARRAY_BUFFER, 0, 6 * sizeof(nodes::MeshVertex), v.data());
        glBindBuffer(GL_ARRAY_BUFFER, 0);
        for (const nodes::MeshVertex& vertex : v) {
            EXPECT_EQ(std::abs(vertex.position[0]), 1.0f);
            EXPECT_EQ(vertex.position[2], 0.0f);
            EXPECT_EQ(vertex.normal[2], 1.0f);
            EXPECT_FLOAT_EQ(vertex.uv[0], vertex.position[0] < 0 ? c.topLeftUv[0] : c.bottomRightUv[0]);
            EXPECT_FLOAT_EQ(vertex.uv[1], vertex.position[1] > 0 ? c.topLeftUv[1] : c.bottomRightUv[1]);
        }
    }
    // (1, 1, 0) scaled to (2, 0.5, 0), turned a quarter about z to (-0.5, 2, 0), moved by 3 in z.
    expectMaps(plane->modelMatrix, {1, 1, 0}, {-0.5f, 2, 3});
    // The material is the plane's own, and goes with the input.
    EXPECT_EQ(plane->objects[0].material, &material->record);
    EXPECT_EQ(plane->material, nullptr);
    graph.engine.deleteNode("Mat");
    graph.evaluateAt(*plane);
    EXPECT_EQ(plane->objects[0].material, nullptr);
}

TEST_F(PrimitiveTest, OnlyATextureCoordinateChangeOfAMillionthOrMoreRebuildsThePlane) {
    const struct {
        float step;
        int objects;  // made and released: a vertex array and two buffers per rebuild
    } cases[] = {{4e-7f, 0}, {2e-6f, 3}, {0.0f, 0}};
    for (const auto& c : cases) {
        GlObjectCount count;
        plane->uvOffset[0] += c.step;
        graph.evaluateAt(*plane);
        EXPECT_EQ(count.created(), c.objects) << c.step;
        EXPECT_EQ(count.deleted(), c.objects) << c.step;
    }
}

}  // namespace
}  // namespace vorn::test
