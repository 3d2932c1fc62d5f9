#include "nodes/procedural/Primitives.h"

#include "tests/nodes/scene/SceneTestNodes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/GlObjectCount.h"

#include <vector>

namespace vorn::test {
namespace {

using nodes::GeometryNode_Primitives;
using nodes::MeshVertex;

std::vector<MeshVertex> uploadedVertices(const nodes::MeshObject& object) {
    std::vector<MeshVertex> vertices(object.vertexCount);
    glBindBuffer(GL_ARRAY_BUFFER, object.vertexBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(vertices.size() * sizeof(MeshVertex)), vertices.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return vertices;
}

class PrimitiveTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        plane = graph.create<GeometryNode_Primitives>("Plane", "3D_Primitive");
        ASSERT_NE(plane, nullptr);
    }
    SceneGraph graph;
    GeometryNode_Primitives* plane = nullptr;
};

TEST_F(PrimitiveTest, PlaneSpansTheSquareWithItsTextureCoordinatesAtTheCorners) {
    struct Case {
        float offset[2], repeat[2];
        float topLeftUv[2], bottomRightUv[2];
    };
    const Case cases[] = {
        {{0, 0}, {1, 1}, {0, 0}, {1, 1}},
        {{0.5f, 0.25f}, {4, 2}, {0.5f, 0.25f}, {4.5f, 2.25f}},
    };
    for (const Case& c : cases) {
        plane->uvOffset[0] = c.offset[0], plane->uvOffset[1] = c.offset[1];
        plane->uvRepeat[0] = c.repeat[0], plane->uvRepeat[1] = c.repeat[1];
        graph.evaluateAt(*plane);
        ASSERT_EQ(plane->objects.size(), 1u);
        EXPECT_EQ(plane->objects[0].name, "Plane");
        EXPECT_EQ(plane->objects[0].indexCount, 6u);
        std::vector<MeshVertex> v = uploadedVertices(plane->objects[0]);
        ASSERT_EQ(v.size(), 6u);
        for (const MeshVertex& vertex : v) {
            EXPECT_EQ(vertex.position[2], 0.0f);
            EXPECT_EQ(vertex.normal[2], 1.0f);
            bool left = vertex.position[0] < 0, top = vertex.position[1] > 0;
            EXPECT_FLOAT_EQ(vertex.uv[0], left ? c.topLeftUv[0] : c.bottomRightUv[0]);
            EXPECT_FLOAT_EQ(vertex.uv[1], top ? c.topLeftUv[1] : c.bottomRightUv[1]);
        }
    }
}

TEST_F(PrimitiveTest, OnlyATextureCoordinateChangeOfAMillionthOrMoreRebuildsThePlane) {
    struct Case {
        float offsetStep;
        bool rebuilds;
    };
    const Case cases[] = {{4e-7f, false}, {2e-6f, true}, {0.0f, false}};
    for (const Case& c : cases) {
        GlObjectCount count;
        plane->uvOffset[0] += c.offsetStep;
        graph.evaluateAt(*plane);
        ASSERT_EQ(plane->objects.size(), 1u);
        // A rebuild makes a vertex array and two buffers and releases the old ones.
        EXPECT_EQ(count.created(), c.rebuilds ? 3 : 0) << c.offsetStep;
        EXPECT_EQ(count.deleted(), c.rebuilds ? 3 : 0) << c.offsetStep;
    }
}

TEST_F(PrimitiveTest, PlacementScalesTwoAxesAndTheMaterialBelongsToThePlane) {
    auto* material = graph.create<TestMaterial>("Mat", "Test Material");
    graph.connect("Mat", "Plane", 0);
    plane->scaleX = 2.0f;
    plane->scaleY = 0.5f;
    plane->translate[2] = 3.0f;
    plane->rotate[2] = 90.0f;
    graph.evaluateAt(*plane);
    // (1, 1, 0) scaled to (2, 0.5, 0), turned a quarter about z to (-0.5, 2, 0), moved by 3 in z.
    expectPoint(transformed(plane->modelMatrix, {1, 1, 0}), {-0.5f, 2, 3});
    EXPECT_EQ(plane->objects[0].material, &material->record);
    EXPECT_EQ(plane->material, nullptr);

    graph.engine.deleteNode("Mat");
    graph.evaluateAt(*plane);
    EXPECT_EQ(plane->objects[0].material, nullptr);
}

}  // namespace
}  // namespace vorn::test
