// Building the particle mesher's blob: the field at 226,981 grid points and
// marching cubes over 216,000 cubes (the CPU part), and the node's whole
// rebuild including the upload and the release of the previous blob.
#include "bench/procedural/BenchContext.h"
#include "engine/Engine.h"
#include "nodes/procedural/BlobSurface.h"
#include "nodes/procedural/ParticleMesher.h"

#include <benchmark/benchmark.h>

#include <array>

namespace {

using namespace vorn;

void BM_BlobSurface(benchmark::State& state) {
    const std::array<nodes::Particle, 2> particles = {{{0, 0, 0, 1}, {0, 0, 0, 1}}};
    std::size_t vertices = 0;
    for (auto _ : state) {
        nodes::MeshData mesh = nodes::meshBlob(particles);
        vertices = mesh.vertices.size();
        benchmark::DoNotOptimize(mesh.vertices.data());
    }
    state.counters["vertices"] = double(vertices);
}
BENCHMARK(BM_BlobSurface)->Unit(benchmark::kMillisecond);

void BM_ParticleMesherRebuild(benchmark::State& state) {
    if (!bench::glContext()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    engine::Engine engine;
    nodes::GeometryNode_ParticleMesher blob(engine, "Blob");
    int generation = 0;
    for (auto _ : state) {
        blob.filename = std::to_string(++generation);
        blob.process();
    }
}
BENCHMARK(BM_ParticleMesherRebuild)->Unit(benchmark::kMillisecond);

}  // namespace
