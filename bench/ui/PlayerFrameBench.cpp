// The player's frame on the CPU, and where an offline capture spends its time.
// Run on a display (xvfb-run) with Mesa's software renderer, as the tests do.
//
// BM_PlayerFrame times renderFrame alone (clear, UI update, engine update, UI
// draw: the GL calls as they are issued) in CPU time of the calling thread:
// the driver's rasterising on its own threads, and the waits for it, are not
// counted, and glFinish runs outside the timed region.
// BM_FrameRendered adds that rasterising, BM_ScreenReadback and BM_PngEncode
// are the capture's other two steps, and BM_PlayerStart is start-up to the
// first finished frame (engine, UI, loading frame, project, first frame).
#include "engine/Engine.h"
#include "nodes/image/Reader.h"
#include "nodes/image/Transform2D.h"
#include "platform/GlWindow.h"
#include "platform/ImageEncoder.h"
#include "platform/Paths.h"
#include "render/GL_FrameBuffer.h"
#include "ui/NodeTypes.h"
#include "ui/Player.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

namespace {

using namespace vorn;
namespace fs = std::filesystem;

platform::GlWindow* window() {
    static platform::GlWindow* shared = platform::GlWindow::create(platform::WindowMode::Hidden).release();
    return shared;
}

// A folder holding the bundled demo's shape: a full-HD picture read by
// "2D_ImgReader", moved and scaled by a keyed "2D_Transform", on "Viewer 1",
// and a loading picture. Made once per process; the working directory moves there.
void enterShowFolder() {
    static bool ready = false;
    if (ready) return;
    fs::path folder = fs::temp_directory_path() / ("vorn-bench-" + std::to_string(::getpid()));
    fs::create_directories(folder / "rsrc" / "misc");
    fs::current_path(folder);
    std::vector<uint8_t> pixels(std::size_t(1920) * 1080 * 3);
    for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t((i * 7) >> 5);
    platform::writePngFile("picture.png", 1920, 1080, 3, pixels.data());
    platform::writePngFile("rsrc/misc/loading.png", 1920, 1080, 3, pixels.data());

    engine::Engine engine;
    ui::attachNodeClasses(engine.factory);
    engine.initialise();
    engine.createNode("Picture", "2D_ImgReader");
    engine.createNode("Move", "2D_Transform");
    engine.createNode("Viewer 1", "Viewer");
    engine.connect("Picture", "Move", 0);
    engine.connect("Move", "Viewer 1", 0);
    static_cast<nodes::ImageNode_Reader*>(engine.findNode("Picture"))->filename = "picture.png";
    auto* move = static_cast<nodes::ImageNode_Transform2D*>(engine.findNode("Move"));
    engine.time = 0.0f;
    engine.addKeyframe("Move", "Position");
    engine.addKeyframe("Move", "Scale");
    engine.time = 10.0f;
    move->position[0] = 0.8f;
    move->scale[0] = move->scale[1] = 2.0f;
    engine.setKeyAtCurrentTime("Move", "Position");
    engine.setKeyAtCurrentTime("Move", "Scale");
    engine.saveProject("demo.vorn");
    ready = true;
}

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

std::unique_ptr<ui::Player> startedPlayer() {
    auto player = std::make_unique<ui::Player>(nullptr);
    player->loadProject(ui::Player::kProjectFile);
    player->renderFrame();
    glFinish();
    return player;
}

void BM_PlayerFrame(benchmark::State& state) {
    if (!window()) return state.SkipWithError("no GL context");
    enterShowFolder();
    auto player = startedPlayer();
    float time = 0.0f;
    for (auto _ : state) {
        player->engine().time = time;  // no music: move the clock by hand
        time = time < 10.0f ? time + 0.016f : 0.0f;
        double start = threadCpuSeconds();
        player->renderFrame();
        double end = threadCpuSeconds();
        glFinish();
        state.SetIterationTime(end - start);
    }
}
BENCHMARK(BM_PlayerFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_FrameRendered(benchmark::State& state) {
    if (!window()) return state.SkipWithError("no GL context");
    enterShowFolder();
    auto player = startedPlayer();
    for (auto _ : state) {
        player->renderFrame();
        glFinish();
    }
}
BENCHMARK(BM_FrameRendered)->Unit(benchmark::kMillisecond);

void BM_ScreenReadback(benchmark::State& state) {
    if (!window()) return state.SkipWithError("no GL context");
    render::GL_FrameBuffer screen(1920, 1080, 1, 8, GL_RGBA, false, false);
    std::vector<uint8_t> pixels(std::size_t(1920) * 1080 * 3);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, screen.framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    for (auto _ : state) {
        glReadPixels(0, 0, 1920, 1080, GL_RGB, GL_UNSIGNED_BYTE, pixels.data());
        benchmark::DoNotOptimize(pixels.data());
    }
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
}
BENCHMARK(BM_ScreenReadback)->Unit(benchmark::kMillisecond);

void BM_PngEncode(benchmark::State& state) {
    // A rendered-looking frame: smooth gradients with a hard edge.
    std::vector<uint8_t> pixels(std::size_t(1920) * 1080 * 3);
    for (int y = 0; y < 1080; ++y)
        for (int x = 0; x < 1920; ++x) {
            uint8_t* p = &pixels[(std::size_t(y) * 1920 + x) * 3];
            p[0] = uint8_t(x / 8);
            p[1] = uint8_t(y / 5);
            p[2] = x > 960 ? 200 : 30;
        }
    for (auto _ : state) benchmark::DoNotOptimize(platform::encodePng(1920, 1080, 3, pixels.data()));
}
BENCHMARK(BM_PngEncode)->Unit(benchmark::kMillisecond);

void BM_PlayerStart(benchmark::State& state) {
    if (!window()) return state.SkipWithError("no GL context");
    enterShowFolder();
    for (auto _ : state) {
        ui::Player player(nullptr);
        player.showLoadingFrame([] { glFinish(); });
        player.loadProject(ui::Player::kProjectFile);
        player.renderFrame();
        glFinish();
    }
}
BENCHMARK(BM_PlayerStart)->Unit(benchmark::kMillisecond)->Iterations(5);

// The start-up's parts: the UI (programs, fonts, target, loading picture) and
// the project load (reading, node creation, the picture's decode and upload).
void BM_UiInit(benchmark::State& state) {
    if (!window()) return state.SkipWithError("no GL context");
    enterShowFolder();
    engine::Engine engine;
    for (auto _ : state) {
        ui::UI_Engine ui;
        ui.init(engine);
        glFinish();
    }
}
BENCHMARK(BM_UiInit)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_ProjectLoad(benchmark::State& state) {
    if (!window()) return state.SkipWithError("no GL context");
    enterShowFolder();
    ui::Player player(nullptr);
    for (auto _ : state) {
        player.engine().clearScene();
        player.loadProject(ui::Player::kProjectFile);
        glFinish();
    }
}
BENCHMARK(BM_ProjectLoad)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace
