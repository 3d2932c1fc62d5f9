// The editor's own cost. Run on a display (xvfb-run) with Mesa's software
// renderer, as the tests do.
//
// BM_EditorFrame times one editor frame's UI work: the UI update and the UI
// draw (every panel, 200 node boxes with their connections, a parameter panel
// of 40 widgets, the viewer panel), in CPU time of the calling thread, with
// the engine's own update outside the timed region. Counters: the time spent
// handing the vertex stream to GL (driver_us: the driver's share, inside the
// frame time; ui_only_us is the rest), the draw calls and vertices per frame,
// and the GL objects created or deleted per frame.
// BM_OpenProduction opens a production of 2,000 nodes in the editor (reading,
// node creation, box placement and building, track list).
//
// The nodes are a bench type with 40 parameters and no GPU work of its own,
// so what is measured is the editor's, not the nodes'.
#include "engine/Engine.h"
#include "platform/GlWindow.h"
#include "platform/Timer.h"
#include "tests/support/GlObjectCount.h"
#include "ui/Player.h"
#include "ui/editor/Editor.h"

#include <benchmark/benchmark.h>

#include <ctime>
#include <filesystem>
#include <memory>

namespace {

using namespace vorn;
namespace fs = std::filesystem;

platform::GlWindow* window() {
    static platform::GlWindow* shared = platform::GlWindow::create(platform::WindowMode::Hidden).release();
    return shared;
}


// 28 floats, 4 positions, 2 colours, 2 texts, 2 flags and 2 choices: 40 widgets.
class BenchNode : public engine::Node {
public:
    BenchNode(engine::Engine& engine, const std::string& name) : Node(engine, name) {
        setInputCount(2);
        for (int i = 0; i < 28; ++i)
            engine.addFloat(*this, "Value " + std::to_string(i), &floats[i], 0.0f, 10.0f, 2, 1.0f, i % 2 == 0);
        for (int i = 0; i < 4; ++i)
            engine.addVec2(*this, "Place " + std::to_string(i), places[i], {0.5f, 0.5f}, engine::Vec2Style::Position);
        for (int i = 0; i < 2; ++i) engine.addVec4(*this, "Tint " + std::to_string(i), tints[i], {1, 1, 1, 1});
        engine.addString(*this, "File", &texts[0], "picture.png");
        engine.addString(*this, "Label", &texts[1], "");
        engine.addBool(*this, "On", &flags[0], true);
        engine.addBool(*this, "Loop", &flags[1], false);
        engine.addInt(*this, "Mode", &modes[0], 0, {"FIT", "FILL"});
        engine.addInt(*this, "Blend", &modes[1], 1, {"ADD", "MIX", "MULTIPLY"});
    }
    engine::NodeKind kind() const override { return engine::NodeKind::Image; }
    bool acceptsInput(int32_t, const Node&) const override { return true; }
    bool process() override { return true; }

    float floats[28] = {};
    float places[4][2] = {};
    float tints[2][4] = {};
    std::string texts[2];
    bool flags[2] = {};
    int32_t modes[2] = {};
};

// A fresh folder holding a production of `nodes` bench nodes, each fed by the
// one before; the working directory moves there.
void enterProductionFolder(int nodes) {
    fs::path folder = fs::temp_directory_path() / ("vorn-editor-bench-" + std::to_string(::getpid()) + "-" + std::to_string(nodes));
    fs::create_directories(folder);
    fs::current_path(folder);
    if (fs::exists("demo.vorn")) return;
    engine::Engine engine;
    engine.factory.add("Bench", engine::constructs<BenchNode>());
    for (int i = 1; i <= nodes; ++i) {
        engine.createNode("Bench " + std::to_string(i), "Bench");
        if (i > 1) engine.connect("Bench " + std::to_string(i - 1), "Bench " + std::to_string(i), 0);
    }
    engine.saveProject("demo.vorn");
}

struct EditorSession {
    EditorSession() : player(nullptr) {
        player.engine().factory.add("Bench", engine::constructs<BenchNode>());
        editor = std::make_unique<ui::editor::Editor>(player);
    }
    ui::Player player;
    std::unique_ptr<ui::editor::Editor> editor;
};

void BM_EditorFrame(benchmark::State& state) {
    if (!window()) return state.SkipWithError("no GL context");
    enterProductionFolder(200);
    EditorSession session;
    ui::editor::Editor& editor = *session.editor;
    editor.open("demo.vorn");
    // Every box in sight, on a grid over the graph; the panel of the first node open.
    editor.applyLayout(2);
    for (int i = 0; i < 200; ++i)
        editor.layoutMap["Bench " + std::to_string(i + 1)] = {float(10 + (i % 10) * 124), float(10 + (i / 10) * 23)};
    editor.rebuildNodeEditor();
    editor.openParameters("Bench 1");
    if (editor.parameters().children().size() != 40) return state.SkipWithError("the panel does not hold 40 widgets");

    ui::UI_Engine& ui = session.player.ui();
    // The first frame makes the text atlases of the sizes in use.
    ui.update();
    session.player.engine().update(0.0f);
    ui.draw();
    glFinish();
    double submit = 0.0, draws = 0.0, vertices = 0.0, ui_cpu = 0.0;
    int frames = 0;
    vorn::test::GlObjectCount objects;
    for (auto _ : state) {
        session.player.engine().update(ui.uiTime);
        glFinish();
        double start = platform::threadCpuSeconds();
        ui.update();
        ui.draw();
        double end = platform::threadCpuSeconds();
        glFinish();
        state.SetIterationTime(end - start);
        ui_cpu += end - start;
        submit += ui.master.frameStats().submitSeconds;
        draws += ui.master.frameStats().draws;
        vertices += ui.master.frameStats().vertices;
        ++frames;
    }
    state.counters["driver_us"] = submit / frames * 1e6;
    state.counters["ui_only_us"] = (ui_cpu - submit) / frames * 1e6;
    state.counters["draws"] = draws / frames;
    state.counters["vertices"] = vertices / frames;
    state.counters["gl_objects_per_frame"] = double(objects.created() + objects.deleted()) / frames;
}
BENCHMARK(BM_EditorFrame)->UseManualTime()->Unit(benchmark::kMicrosecond);

void BM_OpenProduction(benchmark::State& state) {
    if (!window()) return state.SkipWithError("no GL context");
    enterProductionFolder(2000);
    for (auto _ : state) {
        state.PauseTiming();  // the window's UI and engine are made before a production is opened
        auto session = std::make_unique<EditorSession>();
        state.ResumeTiming();
        session->editor->open("demo.vorn");
        state.PauseTiming();  // the editor and its nodes going away is not part of opening
        if (session->editor->graph().boxes().size() != 2000) return state.SkipWithError("not every node has its box");
        session.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_OpenProduction)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace
