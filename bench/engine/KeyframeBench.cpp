// evaluateKeyframes over 10,000 tracks of 64 keys each (1,000 nodes with ten
// tracks apiece), at times spread over the whole key range.
#include <benchmark/benchmark.h>

#include <random>

#include "engine/Engine.h"

namespace {

using namespace vorn::engine;

void BM_EvaluateKeyframes(benchmark::State& state) {
    const int tracks = int(state.range(0));
    const int keysPerTrack = int(state.range(1));
    Engine engine;
    std::vector<float> targets(std::size_t(tracks), 0.0f);
    std::mt19937 random(1);
    std::uniform_real_distribution<float> value(-10.0f, 10.0f);
    for (int t = 0; t < tracks; ++t) {
        std::string node = "Node " + std::to_string(t / 10);
        KeyframeTrack track;
        track.target = &targets[std::size_t(t)];
        track.trackName = node + ".P" + std::to_string(t % 10);
        for (int k = 0; k < keysPerTrack; ++k)
            track.keys.push_back(Keyframe{value(random), 0.5f * float(k) + 0.01f * float(t % 7), k % 4});
        engine.tracksByNode[node].push_back(std::move(track));
    }
    float span = 0.5f * float(keysPerTrack);
    float time = 0.0f;
    for (auto _ : state) {
        engine.time = time;
        engine.evaluateKeyframes();
        benchmark::DoNotOptimize(targets.data());
        time += 0.37f;
        if (time > span) time -= span;
    }
    state.SetItemsProcessed(state.iterations() * tracks);
}
BENCHMARK(BM_EvaluateKeyframes)->Args({10000, 64})->Unit(benchmark::kMicrosecond);

}  // namespace
