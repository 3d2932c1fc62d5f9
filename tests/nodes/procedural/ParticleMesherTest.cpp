#include "nodes/procedural/ParticleMesher.h"

#include "nodes/procedural/BlobSurface.h"
#include "tests/nodes/scene/SceneTestNodes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/GlObjectCount.h"

#include <cmath>

namespace vorn::test {
namespace {

using Vec = std::array<float, 3>;
Vec minus(const float* a, const float* b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
float dot(const Vec& a, const float* b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
float length(const float* v) { return std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]); }

TEST(BlobSurface, TwoUnitParticlesAtTheOriginMakeASphereOfRadiusRootTwoFacingOutward) {
    const nodes::Particle particles[] = {{0, 0, 0, 1}, {0, 0, 0, 1}};
    nodes::MeshData mesh = nodes::meshBlob(particles);
    ASSERT_GT(mesh.vertices.size(), 0u);
    ASSERT_EQ(mesh.indices.size(), mesh.vertices.size());
    EXPECT_EQ(mesh.indices.back(), mesh.vertices.size() - 1);

    // 2 / r² = 1 at r = √2; interpolating the field linearly along a radial
    // edge of 1/3 (r from 1.25 to 1.583) lands up to 0.03 beyond it. The
    // gradient, accumulated as 2·d / r⁴, has the length 2 / r³ = 1 / √2 there.
    for (const nodes::MeshVertex& v : mesh.vertices) {
        ASSERT_NEAR(length(v.position), std::sqrt(2.0f), 0.035f);
        ASSERT_NEAR(length(v.normal), std::sqrt(0.5f), 0.03f);
        ASSERT_GT(dot({v.normal[0], v.normal[1], v.normal[2]}, v.position), 0.99f * length(v.normal) * length(v.position));
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

TEST_F(GlTest, ParticleMesherBuildsOnANewFilenameTextReleasingTheOldBlob) {
    SceneGraph graph;
    auto* blob = graph.create<nodes::GeometryNode_ParticleMesher>("Blob", "Particle Mesher");
    auto* material = graph.create<TestMaterial>("Mat", "Test Material");
    graph.connect("Mat", "Blob", 0);
    const struct {
        const char* filename;
        int created, deleted;  // a vertex array and two buffers per blob
    } steps[] = {{"", 0, 0}, {"particles.txt", 3, 0}, {"particles.txt", 0, 0}, {"other", 3, 3}};
    for (const auto& step : steps) {
        blob->filename = step.filename;
        GlObjectCount count;
        graph.evaluateAt(*blob);
        EXPECT_EQ(count.created(), step.created) << step.filename;
        EXPECT_EQ(count.deleted(), step.deleted) << step.filename;
        ASSERT_EQ(blob->objects.size(), step.filename[0] ? 1u : 0u);
    }
    EXPECT_EQ(blob->objects[0].name, "Blob");
    EXPECT_EQ(blob->material, &material->record);
    EXPECT_EQ(blob->objects[0].material, nullptr);

    blob->scale = 2.0f;
    blob->translate[1] = -1.0f;
    graph.evaluateAt(*blob);
    expectMaps(blob->modelMatrix, {1, 1, 1}, {2, 1, 2});
}

}  // namespace
}  // namespace vorn::test
