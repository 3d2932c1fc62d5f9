// The deferred renderer's own cost per frame, without the driver: 1,000 small
// objects sharing 10 materials drawn through "Render_PowerIlo", with every GL
// call of the frame counted and swallowed by GlCallCounter, so the
// time is the node's work alone (matrices, material changes, the calls made).
// The counters report the GL calls per frame and per object (the difference
// from the same frame without objects).
//  - BM_NodeFrameCpu/objects/interleaved/driver: interleaved 1 gives object i
//    material i % 10 (a change at every object), 0 gives runs of 100 objects
//    per material; driver 1 forwards the calls to Mesa and times the calling
//    thread (the driver's validation and vertex work, not its rasterising).
//  - BM_DemoShotPasses/passes: one 1920x1080 frame of the bundled demo's
//    close shot of the relic ("Neon Render" at 53 s, AO, GI and DoF on) on
//    llvmpipe, rasterising included (glFinish), with its passes switched on in
//    turn: the differences between the rows are what each pass costs. Needs
//    the assembled demo (the "demo" target); the graph upstream of the
//    renderer is evaluated once, so only the renderer's own frame is timed.
// Needs a GL context (run under xvfb-run).
#include "bench/deferred/GlCallCounter.h"
#include "engine/Engine.h"
#include "nodes/scene/GeometryNode.h"
#include "platform/GlWindow.h"
#include "platform/Paths.h"
#include "render/GL_MemTexture.h"
#include "renderers/deferred/DeferredNodeTypes.h"
#include "renderers/deferred/PowerIlo.h"
#include "tests/support/BuildFolders.h"
#include "ui/NodeTypes.h"

#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

using namespace vorn;

platform::GlWindow* context() {
    static std::unique_ptr<platform::GlWindow> window = platform::GlWindow::create(platform::WindowMode::Hidden);
    if (window) window->makeCurrent();
    return window.get();
}

class Objects : public nodes::GeometryNode {
public:
    using GeometryNode::GeometryNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
};

// A cube of side 0.1 centred at c: 24 vertices, 36 indices.
nodes::MeshData cube(float cx, float cy, float cz) {
    nodes::MeshData mesh;
    const float h = 0.05f;
    for (int axis = 0; axis < 3; ++axis)
        for (float side : {-1.0f, 1.0f}) {
            uint32_t first = uint32_t(mesh.vertices.size());
            for (auto [a, b] : {std::pair{-1.0f, -1.0f}, {1.0f, -1.0f}, {1.0f, 1.0f}, {-1.0f, 1.0f}}) {
                float p[3], n[3] = {0, 0, 0};
                p[axis] = side * h;
                p[(axis + 1) % 3] = a * h;
                p[(axis + 2) % 3] = b * h;
                n[axis] = side;
                mesh.vertices.push_back({{cx + p[0], cy + p[1], cz + p[2]}, {n[0], n[1], n[2]}, {(a + 1) / 2, (b + 1) / 2}});
            }
            for (uint32_t i : {0u, 1u, 2u, 0u, 2u, 3u}) mesh.indices.push_back(first + i);
        }
    return mesh;
}

struct Scene {
    engine::Engine engine;
    nodes::ImageNode_PowerIlo* ilo = nullptr;
    Objects* objects = nullptr;
    std::vector<std::unique_ptr<render::GL_MemTexture>> maps;
    std::array<nodes::PbrMaterial, 10> materials;

    Scene(int count, bool interleaved) {
        nodes::attachDeferredNodeTypes(engine.factory);
        engine.createNode("Ilo", "Render_PowerIlo");
        ilo = static_cast<nodes::ImageNode_PowerIlo*>(engine.findNode("Ilo"));
        ilo->reflectionMap = "";
        auto node = std::make_unique<Objects>(engine, "Objects");
        objects = node.get();
        engine.addNode("Objects", std::move(node));
        engine.connect("Objects", "Ilo", 0);
        for (std::size_t m = 0; m < materials.size(); ++m) {
            render::GL_Image** slots[5] = {&materials[m].albedoMap, &materials[m].normalMap, &materials[m].lightMap,
                                           &materials[m].roughnessMap, &materials[m].metalnessMap};
            for (render::GL_Image** slot : slots) {
                const uint8_t pixel[3] = {uint8_t(m * 20), 128, 255};
                maps.push_back(std::make_unique<render::GL_MemTexture>(1, 1, GL_RGB, GL_REPEAT, GL_REPEAT, pixel));
                *slot = maps.back().get();
            }
        }
        for (int i = 0; i < count; ++i) {
            objects->objects.push_back(nodes::createMeshObject(cube(float(i % 40) * 0.07f - 1.4f,
                                                                    float(i / 40) * 0.07f - 0.85f, 0.0f)));
            int material = interleaved ? i % 10 : i * 10 / count;
            objects->objects.back().material = &materials[material];
        }
    }

    void frame() {
        for (auto& [name, node] : engine.nodesByName) node->evaluated = false;
        ilo->evaluate();
    }

    // GL calls of one frame with the objects, and of the same frame without them.
    std::pair<int, int> countCalls() {
        bench::GlCallCounter calls(bench::GlCallCounter::Mode::Swallow);
        frame();
        int with = calls.total();
        std::vector<nodes::MeshObject> kept;
        kept.swap(objects->objects);
        calls.reset();
        frame();
        int without = calls.total();
        kept.swap(objects->objects);
        return {with, without};
    }
};

void BM_NodeFrameCpu(benchmark::State& state) {
    if (!context()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    const int count = int(state.range(0));
    Scene scene(count, state.range(1) != 0);
    const bool driver = state.range(2) != 0;
    // A real frame first: it makes the process's cached quads, which a
    // frame whose calls are swallowed would leave empty for every later pass.
    scene.frame();
    glFinish();
    auto [with, without] = scene.countCalls();

    bench::GlCallCounter calls(driver ? bench::GlCallCounter::Mode::Forward : bench::GlCallCounter::Mode::Swallow);
    for (auto _ : state) {
        scene.frame();
        if (driver) {
            state.PauseTiming();
            glFinish();
            state.ResumeTiming();
        }
    }
    state.counters["gl/frame"] = with;
    state.counters["gl/object"] = count ? double(with - without) / count : 0.0;
}
BENCHMARK(BM_NodeFrameCpu)
    ->ArgNames({"objects", "interleaved", "driver"})
    ->Args({1000, 1, 0})
    ->Args({1000, 0, 0})
    ->Args({0, 0, 0})
    ->Args({1000, 1, 1})
    ->Unit(benchmark::kMillisecond);

// Which passes a row runs: the G-buffer and compose always, then these.
enum Passes { GBufferOnly, WithAo, WithGi, WithDof, AsInTheDemo, SimplePass, WithReflection };

void BM_DemoShotPasses(benchmark::State& state) {
    if (!context()) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    std::string previous = platform::currentDirectory();
    platform::changeDirectory(test::binaryFolder() + "/demo");
    engine::Engine engine;
    ui::attachNodeClasses(engine.factory);
    engine.initialise();
    bool loaded = engine.loadProject("demo.vorn", false, "");
    auto* ilo = dynamic_cast<nodes::ImageNode_PowerIlo*>(engine.findNode("Neon Render"));
    if (!loaded || !ilo) {
        platform::changeDirectory(previous);
        state.SkipWithError("no demo.vorn with \"Neon Render\" (build the demo target)");
        return;
    }
    engine.time = 53.0f;
    engine.evaluateKeyframes();
    for (auto& [name, node] : engine.nodesByName) node->evaluated = false;
    ilo->evaluate();  // the inputs, once
    const bool ao = ilo->aoEnable, gi = ilo->giEnable, dof = ilo->dofEnable;
    const auto passes = Passes(state.range(0));
    ilo->aoEnable = passes == WithAo || passes == AsInTheDemo;
    ilo->giEnable = passes == WithGi || passes == AsInTheDemo;
    ilo->dofEnable = passes == WithDof || passes == AsInTheDemo;
    ilo->reflectionEnable = passes == WithReflection;
    if (passes == SimplePass) ilo->output = nodes::ImageNode_PowerIlo::Albedo;
    if (passes == AsInTheDemo && !(ao && gi && dof)) state.SkipWithError("the demo's shot lost AO, GI or DoF");
    ilo->process();
    glFinish();
    for (auto _ : state) {
        ilo->process();
        glFinish();
    }
    platform::changeDirectory(previous);
}
BENCHMARK(BM_DemoShotPasses)
    ->ArgName("passes")
    ->DenseRange(GBufferOnly, WithReflection)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(3);

}  // namespace
