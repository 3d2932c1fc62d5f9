// The parallax renderer per frame and at load. Run under an X server
// (xvfb-run) with Mesa's software renderer, as the tests do.
//  - BM_ParallaxFrame: one processing step of a 100-layer scene (blend modes
//    mixed, a glow source, a mask), timed as CPU time of the calling thread;
//    the rasterising on the driver's own threads, and glFinish, are not
//    counted. With GALLIUM_NOOP=1 in the environment the driver drops every
//    draw, which leaves the node's own work and the GL calls' entry.
//  - BM_ParallaxPlacement: the key lookups and corner blends of those 100
//    layers alone, without GL.
//  - BM_ParallaxLoad: a 200-layer scene file (600 keys a layer) read and its
//    layers found in the picture cache, after the first load has filled it;
//    BM_ParallaxFirstLoad is that first load, decoding and uploading 40 pictures.
#include "engine/Engine.h"
#include "nodes/image/ParallaxRenderer.h"
#include "nodes/image/ParallaxRules.h"
#include "nodes/image/SceneFile.h"
#include "platform/GlWindow.h"
#include "platform/ImageEncoder.h"
#include "platform/Paths.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vorn;
namespace fs = std::filesystem;

platform::GlWindow* context() {
    static std::unique_ptr<platform::GlWindow> window = platform::GlWindow::create(platform::WindowMode::Hidden);
    if (window) window->makeCurrent();
    return window.get();
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

constexpr int kPictures = 40;

std::string pictureName(int i) {
    if (i == 0) return "Neon-sign.png";
    if (i == 1) return "Screen-Mask-window.png";
    return "layer" + std::to_string(i) + ".png";
}

// count layers over kPictures pictures, each sliding across the frame for 10 s
// with a key per frame, modes over, screen and 6 by turns.
std::vector<nodes::SceneLayerRecord> sceneLayers(int count) {
    std::vector<nodes::SceneLayerRecord> layers;
    for (int i = 0; i < count; ++i) {
        nodes::SceneLayerRecord layer{pictureName(i % kPictures), "", i % 3 == 0 ? 2 : 6, {}};
        const float width = 200.0f + float(i % 7) * 100.0f, y0 = float(i % 9) * 100.0f;
        for (int frame = 0; frame < 600; ++frame) {
            const float left = -200.0f + float(frame) * (1.0f + float(i % 5));
            layer.keys.push_back({float(frame), float(frame) / 60.0f, left, y0, left + width, y0 + 300.0f, 0.8f});
        }
        layers.push_back(std::move(layer));
    }
    return layers;
}

// A folder with Graphics/ holding the pictures and "scene100.scn" and
// "scene200.scn"; made once, and the working directory moves there.
void enterSceneFolder() {
    static bool ready = false;
    if (ready) return;
    fs::path folder = fs::temp_directory_path() / ("vorn-bench-parallax-" + std::to_string(::getpid()));
    fs::create_directories(folder / "Graphics");
    fs::current_path(folder);
    std::vector<uint8_t> pixels(std::size_t(512) * 256 * 4);
    for (int i = 0; i < kPictures; ++i) {
        for (std::size_t p = 0; p < pixels.size(); ++p) pixels[p] = uint8_t((p * (i + 3)) >> 4);
        platform::writePngFile("Graphics/" + pictureName(i), 512, 256, 4, pixels.data());
    }
    platform::writeFile("scene100.scn", nodes::writeSceneFile(sceneLayers(100)));
    platform::writeFile("scene200.scn", nodes::writeSceneFile(sceneLayers(200)));
    ready = true;
}

void BM_ParallaxFrame(benchmark::State& state) {
    if (!context()) return state.SkipWithError("no OpenGL context");
    enterSceneFolder();
    engine::Engine engine;
    nodes::ImageNode_2DParallaxRenderer node(engine, "Valley");
    node.sceneFiles[0] = "scene100.scn";
    node.glowRadius = 0.0f;
    engine.time = 1.0f;
    node.process();
    if (node.layersOf(0).size() != 100) return state.SkipWithError("the scene did not load");
    glFinish();
    for (auto _ : state) {
        engine.time = engine.time < 9.0f ? engine.time + 1.0f / 60.0f : 1.0f;
        double start = threadCpuSeconds();
        node.process();
        double end = threadCpuSeconds();
        glFinish();
        state.SetIterationTime(end - start);
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
// Each step waits for the drawing to finish (outside the timed part): a fixed
// count keeps the run short, as the timed part is a small share of it.
BENCHMARK(BM_ParallaxFrame)->UseManualTime()->Unit(benchmark::kMicrosecond)->Iterations(200);

void BM_ParallaxPlacement(benchmark::State& state) {
    std::vector<nodes::SceneLayerRecord> layers = sceneLayers(100);
    float tau = 1.0f;
    for (auto _ : state) {
        tau = tau < 9.0f ? tau + 1.0f / 60.0f : 1.0f;
        for (const nodes::SceneLayerRecord& layer : layers) benchmark::DoNotOptimize(nodes::placeLayer(layer.keys, tau));
    }
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_ParallaxPlacement)->Unit(benchmark::kMicrosecond);

void BM_ParallaxLoad(benchmark::State& state) {
    if (!context()) return state.SkipWithError("no OpenGL context");
    enterSceneFolder();
    engine::Engine engine;
    engine.drawingEnabled = 0;  // loading only
    nodes::ImageNode_2DParallaxRenderer node(engine, "Valley");
    node.sceneFiles[0] = "scene200.scn";
    node.process();
    // Two spellings of one file: every step reloads it.
    bool other = false;
    for (auto _ : state) {
        node.sceneFiles[0] = other ? "scene200.scn" : "./scene200.scn";
        other = !other;
        node.process();
    }
    if (node.layersOf(0).size() != 200 || node.cachedPictureCount() != kPictures)
        state.SkipWithError("the scene did not load whole");
}
BENCHMARK(BM_ParallaxLoad)->Unit(benchmark::kMillisecond);

void BM_ParallaxFirstLoad(benchmark::State& state) {
    if (!context()) return state.SkipWithError("no OpenGL context");
    enterSceneFolder();
    for (auto _ : state) {
        state.PauseTiming();
        auto engine = std::make_unique<engine::Engine>();
        engine->drawingEnabled = 0;
        auto node = std::make_unique<nodes::ImageNode_2DParallaxRenderer>(*engine, "Valley");
        node->sceneFiles[0] = "scene200.scn";
        glFinish();
        state.ResumeTiming();
        node->process();
        glFinish();
        state.PauseTiming();
        node.reset();
        engine.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ParallaxFirstLoad)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
