// MotionBlur's own cost per frame, without the driver: the per-sample clock
// moves, keyframe evaluations, evaluated-flag clears and graph walks, over a
// chain of upstream nodes that draw nothing (the input shows no picture, so no
// sample is drawn). Needs a GL context for the node's target and program; run
// it under an X server (xvfb-run).
#include "engine/Engine.h"
#include "nodes/image/MotionBlur.h"
#include "platform/GlWindow.h"

#include <benchmark/benchmark.h>

#include <memory>
#include <string>

namespace {

using namespace vorn;

// An image node with one keyframed float and no picture.
class Stage : public nodes::ImageNode {
public:
    Stage(engine::Engine& owner, std::string name) : ImageNode(owner, std::move(name)) {
        setInputCount(1);
        owner.addFloat(*this, "Amount", &amount, 0.0f, 100.0f, 2, 0.0f, true);
    }
    bool acceptsInput(int32_t, const engine::Node& source) const override { return nodes::isImageNode(&source); }
    bool process() override {
        benchmark::DoNotOptimize(amount);
        return true;
    }
    float amount = 0.0f;
};

platform::GlWindow* context() {
    static std::unique_ptr<platform::GlWindow> window = platform::GlWindow::create(platform::WindowMode::Hidden);
    if (window) window->makeCurrent();
    return window.get();
}

// stages: the length of the upstream chain, every stage keyed at 0 s and 100 s.
void BM_MotionBlurEvaluate(benchmark::State& state) {
    if (!context()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const int stages = int(state.range(0));
    const bool blurAll = state.range(1) != 0;
    engine::Engine engine;
    engine.factory.add("Stage", engine::constructs<Stage>());
    engine.factory.add("MotionBlur", engine::constructs<nodes::ImageNode_MotionBlur>());
    std::string previous;
    for (int i = 0; i < stages; ++i) {
        std::string name = "Stage " + std::to_string(i);
        engine.createNode(name, "Stage");
        if (!previous.empty()) engine.connect(previous, name, 0);
        engine.time = 0.0f;
        engine.addKeyframe(name, "Amount");
        engine.time = 100.0f;
        static_cast<Stage*>(engine.findNode(name))->amount = 100.0f;
        engine.setKeyAtCurrentTime(name, "Amount");
        previous = name;
    }
    engine.createNode("Blur", "MotionBlur");
    engine.connect(previous, "Blur", 0);
    auto* blur = static_cast<nodes::ImageNode_MotionBlur*>(engine.findNode("Blur"));
    blur->samples = 9;  // "64"
    blur->blurAll = blurAll;

    engine.time = 50.0f;
    for (auto _ : state) {
        for (auto& [name, node] : engine.nodesByName) node->evaluated = false;
        benchmark::DoNotOptimize(blur->evaluate());
    }
    state.counters["samples"] = 64;
    state.SetItemsProcessed(state.iterations() * 64);
}
BENCHMARK(BM_MotionBlurEvaluate)
    ->ArgNames({"stages", "blurAll"})
    ->Args({1, 1})
    ->Args({20, 0})
    ->Args({20, 1})
    ->Args({100, 1})
    ->Unit(benchmark::kMicrosecond);

}  // namespace
