// Every node of this folder, and the automatic material, in one graph: once
// the first frame has built meshes, looked for files and filled buffers, later
// frames create and delete no GL objects, whatever moves.
#include "nodes/procedural/CombineGeometry.h"
#include "nodes/procedural/FallingModels.h"
#include "nodes/procedural/FlakeRender.h"
#include "nodes/procedural/ParticleMesher.h"
#include "nodes/procedural/Primitives.h"
#include "nodes/scene/AutoPBRMaterial.h"
#include "tests/nodes/scene/SceneTestNodes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/GlObjectCount.h"

namespace vorn::test {
namespace {

TEST_F(GlTest, ASteadyFrameOfTheProceduralNodesCreatesAndDeletesNoGlObjects) {
    SceneGraph graph;
    auto* plane = graph.create<nodes::GeometryNode_Primitives>("Plane", "3D_Primitive");
    auto* blob = graph.create<nodes::GeometryNode_ParticleMesher>("Blob", "Particle Mesher");
    auto* shower = graph.create<nodes::GeometryNode_FallingModels>("Shower", "FallingModel");
    auto* combine = graph.create<nodes::GeometryNode_CombineGeometry>("Combine", "Combine Geometry");
    auto* autoMaterial = graph.create<nodes::GeometryNode_AutoPBRMaterial>("Auto", "PBR_AutoMaterial");
    auto* flakes = graph.create<nodes::ImageNode_FlakeRender>("Flakes", "Render_Flake");
    auto* camera = graph.create<TestCamera>("Camera", "Test Camera");
    graph.create<TestMaterial>("Mat", "Test Material");
    for (auto [source, target, input] : {std::tuple{"Mat", "Plane", 0}, {"Plane", "Shower", 0}, {"Plane", "Combine", 0},
                                         {"Blob", "Combine", 1}, {"Shower", "Combine", 2}, {"Combine", "Auto", 0},
                                         {"Camera", "Flakes", 1}})
        graph.connect(source, target, input);
    blob->filename = "blob";
    shower->count = "1000";
    flakes->flakeCount = 10000;
    flakes->speed = 1.0f;
    auto frame = [&](float t) {
        graph.evaluateAt(*autoMaterial, t);
        graph.evaluateAt(*flakes, t);
    };
    frame(0.0f);
    ASSERT_EQ(autoMaterial->objects.size(), 1002u);

    GlObjectCount count;
    for (int i = 1; i <= 3; ++i) {
        plane->translate[0] = blob->rotate[1] = combine->rotate[2] = float(i);
        camera->viewMatrix = render::translationMatrix(0, 0, -float(i));
        flakes->flakeCount = 10000.5f;  // the same whole count
        frame(0.5f * float(i));
    }
    EXPECT_EQ(count.created(), 0);
    EXPECT_EQ(count.deleted(), 0);
}

}  // namespace
}  // namespace vorn::test
