#include "nodes/procedural/ParticleMesher.h"

#include "nodes/procedural/BlobSurface.h"
#include "tests/nodes/scene/SceneTestNodes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/GlObjectCount.h"

#include <cmath>

namespace vorn::test {
namespace {

using nodes::GeometryNode_ParticleMesher;
using nodes::MeshVertex;
using nodes::Particle;

float length(const float v[3]) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

TEST(BlobSurface, TwoUnitParticlesAtTheOriginMakeAClosedSphereOfRadiusRootTwoFacingOutward) {
    const Particle particles[] = {{0, 0, 0, 1}, {0, 0, 0, 1}};
    nodes::MeshData mesh = nodes::meshBlob(particles);
    EXPECT_EQ(mesh.name, "Blob");
    ASSERT_EQ(mesh.vertices.size() % 3, 0u);
    ASSERT_GT(mesh.vertices.size(), 0u);
    ASSERT_EQ(mesh.indices.size(), mesh.vertices.size());
    EXPECT_EQ(mesh.indices.back(), mesh.vertices.size() - 1);

    // 2 / r² = 1 at r = √2. Interpolating the field linearly along a radial
    // edge of 1/3 (from r = 1.25 to 1.583) lands up to 0.03 beyond it. The
    // field's gradient, accumulated as 2·d / r⁴, has the length 2 / r³ = 1 / √2
    // there and points away from the centre.
    const float root2 = std::sqrt(2.0f);
    for (const MeshVertex& v : mesh.vertices) {
        ASSERT_NEAR(length(v.position), root2, 0.035f);
        ASSERT_NEAR(length(v.normal), 1.0f / root2, 0.03f);
        float outward = v.normal[0] * v.position[0] + v.normal[1] * v.position[1] + v.normal[2] * v.position[2];
        ASSERT_GT(outward / (length(v.normal) * length(v.position)), 0.99f);
    }

    // Every triangle winds counter-clockwise seen from outside, and together
    // they cover the sphere's area 4π·2 (a missing or doubled triangle would show).
    double area = 0.0;
    for (std::size_t t = 0; t < mesh.vertices.size(); t += 3) {
        const float* a = mesh.vertices[t].position;
        const float* b = mesh.vertices[t + 1].position;
        const float* c = mesh.vertices[t + 2].position;
        float u[3] = {b[0] - a[0], b[1] - a[1], b[2] - a[2]}, w[3] = {c[0] - a[0], c[1] - a[1], c[2] - a[2]};
        float n[3] = {u[1] * w[2] - u[2] * w[1], u[2] * w[0] - u[0] * w[2], u[0] * w[1] - u[1] * w[0]};
        // (Where the surface passes through a grid point, triangles collapse to nothing.)
        ASSERT_GE(n[0] * a[0] + n[1] * a[1] + n[2] * a[2], 0.0f) << "triangle " << t / 3;
        area += 0.5 * length(n);
    }
    EXPECT_NEAR(area, 8.0 * M_PI, 0.02 * 8.0 * M_PI);
}

class ParticleMesherTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        blob = graph.create<GeometryNode_ParticleMesher>("Blob", "Particle Mesher");
        ASSERT_NE(blob, nullptr);
    }
    SceneGraph graph;
    GeometryNode_ParticleMesher* blob = nullptr;
};

TEST_F(ParticleMesherTest, OnlyANewFilenameTextBuildsTheBlobAndARebuildReleasesTheOldOne) {
    struct Step {
        const char* filename;
        int created, deleted;  // GL objects
    };
    const Step steps[] = {
        {"", 0, 0},             // the default text: no blob at all
        {"particles.txt", 3, 0},  // the first blob: a vertex array and two buffers
        {"particles.txt", 0, 0},
        {"other", 3, 3},
    };
    for (const Step& step : steps) {
        blob->filename = step.filename;
        GlObjectCount count;
        graph.evaluateAt(*blob);
        EXPECT_EQ(count.created(), step.created) << step.filename;
        EXPECT_EQ(count.deleted(), step.deleted) << step.filename;
        ASSERT_EQ(blob->objects.size(), step.filename[0] ? 1u : 0u);
    }
    EXPECT_EQ(blob->objects[0].name, "Blob");
    EXPECT_GT(blob->objects[0].indexCount, 0u);
}

TEST_F(ParticleMesherTest, ScaleGrowsTheBlobThroughItsPlacementAndTheMaterialGoesToTheNode) {
    auto* material = graph.create<TestMaterial>("Mat", "Test Material");
    graph.connect("Mat", "Blob", 0);
    blob->filename = "x";
    blob->scale = 2.0f;
    blob->translate[1] = -1.0f;
    graph.evaluateAt(*blob);
    expectPoint(transformed(blob->modelMatrix, {1, 1, 1}), {2, 1, 2});
    EXPECT_EQ(blob->material, &material->record);
    EXPECT_EQ(blob->objects[0].material, nullptr);
}

}  // namespace
}  // namespace vorn::test
