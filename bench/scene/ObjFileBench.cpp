// The OBJ reader and the node's conversion on a generated model of about
// 9 MB: a 300 x 300 grid of quads in 12 groups with positions, texture
// coordinates and normals (180,000 triangles), plus a file of pentagons that
// go through ear clipping. VORN_BENCH_OBJ names a real model to read as well.
#include <benchmark/benchmark.h>

#include "nodes/scene/ObjConversion.h"
#include "nodes/scene/ObjFile.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

using namespace vorn::nodes;

std::string gridModel(int side) {
    std::string text = "# grid\nmtllib grid.mtl\n";
    char line[160];
    for (int y = 0; y <= side; ++y)
        for (int x = 0; x <= side; ++x) {
            std::snprintf(line, sizeof line, "v %.6f %.6f %.6f\nvt %.6f %.6f\nvn 0.000000 1.000000 0.000000\n",
                          x * 0.01, 0.001 * ((x * 7 + y * 3) % 11), y * 0.01, double(x) / side, double(y) / side);
            text += line;
        }
    const int row = side + 1;
    for (int y = 0; y < side; ++y) {
        if (y % (side / 12) == 0) text += "g part" + std::to_string(y) + "\nusemtl m\n";
        for (int x = 0; x < side; ++x) {
            int a = y * row + x + 1, b = a + 1, c = a + row + 1, d = a + row;
            std::snprintf(line, sizeof line, "f %d/%d/%d %d/%d/%d %d/%d/%d %d/%d/%d\n", a, a, a, b, b, b, c, c, c,
                          d, d, d);
            text += line;
        }
    }
    return text;
}

// Concave pentagons ("house" shapes pointing inwards), which need ear tests.
std::string pentagonModel(int count) {
    std::string text;
    char line[128];
    for (int i = 0; i < count; ++i) {
        float z = float(i);
        std::snprintf(line, sizeof line, "v 0 0 %g\nv 4 0 %g\nv 4 4 %g\nv 2 1 %g\nv 0 4 %g\nf -5 -4 -3 -2 -1\n", z, z,
                      z, z, z);
        text += line;
    }
    return text;
}

void readAndReport(benchmark::State& state, const std::string& text) {
    std::size_t triangles = 0;
    for (auto _ : state) {
        ObjFile file = readObjFile(text, "bench.obj", nullptr, nullptr);
        triangles = file.indices.size() / 3;
        benchmark::DoNotOptimize(file.vertices.data());
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(text.size()));
    state.counters["triangles"] = double(triangles);
}

void BM_ReadGridModel(benchmark::State& state) {
    static const std::string text = gridModel(300);
    readAndReport(state, text);
}
BENCHMARK(BM_ReadGridModel)->Unit(benchmark::kMillisecond);

void BM_ConvertGridModel(benchmark::State& state) {
    static const ObjFile read = readObjFile(gridModel(300), "bench.obj", nullptr, nullptr);
    ObjFile file = read;
    for (auto _ : state) {
        // Converting twice restores the file; count both.
        ObjObjects objects = convertObjFile(file, false);
        benchmark::DoNotOptimize(objects.objects.data());
        benchmark::DoNotOptimize(convertObjFile(file, false).bounds);
    }
    state.SetItemsProcessed(int64_t(state.iterations()) * 2 * int64_t(file.vertices.size()));
}
BENCHMARK(BM_ConvertGridModel)->Unit(benchmark::kMillisecond);

void BM_ReadConcavePentagons(benchmark::State& state) {
    static const std::string text = pentagonModel(50000);
    readAndReport(state, text);
}
BENCHMARK(BM_ReadConcavePentagons)->Unit(benchmark::kMillisecond);

// A real model named by VORN_BENCH_OBJ (for example one of the public models
// unpacked into /tmp); skipped when unset.
void BM_ReadNamedModel(benchmark::State& state) {
    const char* path = std::getenv("VORN_BENCH_OBJ");
    std::optional<std::vector<uint8_t>> bytes;
    if (path) bytes = vorn::platform::readFile(path, vorn::platform::kMaxMeshFileBytes);
    if (!bytes) {
        state.SkipWithError("VORN_BENCH_OBJ does not name a readable file");
        return;
    }
    readAndReport(state, std::string(bytes->begin(), bytes->end()));
}
BENCHMARK(BM_ReadNamedModel)->Unit(benchmark::kMillisecond);

}  // namespace
