// The flake renderer's CPU work: generating the layout of 10,000 flakes, and
// one steady frame of the node (uniforms, bindings, a clear and one draw
// call). The frame is timed in CPU time of the calling thread only, and each
// iteration waits for the GL to finish outside the timed span, so the
// software rasteriser's worker threads do not count. Its vertex and geometry
// stages do: they run in the calling thread at the draw, which is why the
// frame is measured with 10 flakes (the node's own cost, which does not
// depend on the count) and with 10,000.
#include "bench/procedural/BenchContext.h"
#include "engine/Engine.h"
#include "nodes/procedural/FlakeLayout.h"
#include "nodes/procedural/FlakeRender.h"

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

using namespace vorn;

void BM_FlakeGeneration(benchmark::State& state) {
    const int count = int(state.range(0));
    for (auto _ : state) {
        std::vector<nodes::FlakeVertex> flakes = nodes::generateFlakes(count, 10.0f);
        benchmark::DoNotOptimize(flakes.data());
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_FlakeGeneration)->Arg(10000)->Unit(benchmark::kMicrosecond);

void BM_FlakeFrame(benchmark::State& state) {
    if (!bench::glContext()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    engine::Engine engine;
    nodes::ImageNode_FlakeRender flakes(engine, "Flakes");
    flakes.flakeCount = float(state.range(0));
    flakes.atlasFile = "";  // no file to look for: the frame is the subject
    flakes.speed = 1.0f;
    engine.time = 0.0f;
    flakes.process();  // generation
    glFinish();
    auto threadSeconds = [] {
        timespec now{};
        clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
        return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
    };
    for (auto _ : state) {
        engine.time += 0.016f;
        double start = threadSeconds();
        flakes.process();
        state.SetIterationTime(threadSeconds() - start);
        glFinish();
    }
}
BENCHMARK(BM_FlakeFrame)->Arg(10)->Arg(10000)->UseManualTime()->Unit(benchmark::kMicrosecond);

}  // namespace
