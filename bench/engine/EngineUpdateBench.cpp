// One engine update over 1,000 nodes that do nothing themselves, so the time
// is the engine's own: clock, keyframes (none), flags and the graph walk.
// Two shapes: a chain 1,000 deep and a wide tree (eight inputs per node).
#include <benchmark/benchmark.h>

#include "engine/Engine.h"

namespace {

using namespace vorn::engine;

class TrivialNode : public Node {
public:
    TrivialNode(Engine& engine, const std::string& name) : Node(engine, name) { setInputCount(8); }
    NodeKind kind() const override { return NodeKind::Image; }
    bool acceptsInput(int32_t, const Node&) const override { return true; }
    bool process() override { return true; }
};

class TrivialOutput : public OutputNode {
public:
    TrivialOutput(Engine& engine, const std::string& name) : OutputNode(engine, name) { setInputCount(1); }
    bool acceptsInput(int32_t, const Node&) const override { return true; }
    bool process() override { return true; }
    void present() override {}
};

std::string nodeName(int i) { return "Node " + std::to_string(i); }

// Nodes 0 .. count-2 plus the output; shape decides who feeds whom.
void build(Engine& engine, int count, bool chain) {
    engine.factory.add("Trivial", constructs<TrivialNode>());
    engine.factory.add("Output", constructs<TrivialOutput>());
    engine.createNode("Viewer 1", "Output");
    for (int i = 0; i < count - 1; ++i) engine.createNode(nodeName(i), "Trivial");
    engine.connect(nodeName(0), "Viewer 1", 0);
    for (int i = 1; i < count - 1; ++i) {
        if (chain)
            engine.connect(nodeName(i), nodeName(i - 1), 0);
        else
            engine.connect(nodeName(i), nodeName((i - 1) / 8), (i - 1) % 8);
    }
}

void BM_EngineUpdate(benchmark::State& state) {
    Engine engine;
    build(engine, int(state.range(0)), state.range(1) == 1);
    engine.initialise();
    for (auto _ : state) benchmark::DoNotOptimize(engine.update(0.0f));
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_EngineUpdate)->ArgNames({"nodes", "chain"})->Args({1000, 1})->Args({1000, 0})->Unit(benchmark::kMicrosecond);

}  // namespace
