// Per-frame cost of the nodes that rebuild their object lists from other
// nodes' objects: "FallingModel" placing 10,000 copies, and "Combine
// Geometry" merging six inputs of 1,000 objects each. No GL is touched.
#include "engine/Engine.h"
#include "nodes/procedural/CombineGeometry.h"
#include "nodes/procedural/FallingModels.h"

#include <benchmark/benchmark.h>

namespace {

using namespace vorn;

// A geometry node holding `count` records with names as long as real ones.
class Source : public nodes::GeometryNode {
public:
    Source(engine::Engine& owner, std::string name, int count) : GeometryNode(owner, std::move(name)) {
        sharesObjects = true;
        for (int i = 0; i < count; ++i) {
            nodes::MeshObject& object = objects.emplace_back();
            object.vertexArray = GLuint(i + 1);
            object.name = "an object named like a modeller names it " + std::to_string(i);
        }
        modelMatrix = render::translationMatrix(1, 2, 3);
    }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
};

void BM_FallingModelsFrame(benchmark::State& state) {
    engine::Engine engine;
    engine.addNode("Model", std::make_unique<Source>(engine, "Model", 1));
    engine.addNode("Shower", std::make_unique<nodes::GeometryNode_FallingModels>(engine, "Shower"));
    engine.connect("Model", "Shower", 0);
    auto* shower = static_cast<nodes::GeometryNode_FallingModels*>(engine.findNode("Shower"));
    shower->count = std::to_string(state.range(0));
    engine.time = 0.0f;
    shower->process();  // generation
    for (auto _ : state) {
        engine.time += 0.016f;
        shower->process();
        benchmark::DoNotOptimize(shower->objects.data());
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FallingModelsFrame)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_CombineGeometryFrame(benchmark::State& state) {
    engine::Engine engine;
    engine.addNode("Combine", std::make_unique<nodes::GeometryNode_CombineGeometry>(engine, "Combine"));
    for (int i = 0; i < 6; ++i) {
        std::string name = "Geo " + std::to_string(i);
        engine.addNode(name, std::make_unique<Source>(engine, name, int(state.range(0))));
        engine.connect(name, "Combine", i);
    }
    auto* combine = static_cast<nodes::GeometryNode_CombineGeometry*>(engine.findNode("Combine"));
    combine->process();
    for (auto _ : state) {
        combine->process();
        benchmark::DoNotOptimize(combine->objects.data());
    }
    state.SetItemsProcessed(state.iterations() * 6 * state.range(0));
}
BENCHMARK(BM_CombineGeometryFrame)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
