// Shader nodes at start-up and per frame.
//  - BM_LoadScripts: the engine listing and parsing 200 description files in
//    "Scripts\" (half naming a library source, half carrying their own).
//  - BM_ShaderChainFrame: one frame of a picture through a chain of ten shader
//    nodes. Needs a GL context (run under xvfb-run). Each frame ends with a
//    buffer swap, so a GL trace of it shows one frame per swap:
//        apitrace trace bench_shader --benchmark_filter=Chain
//        apitrace dump bench_shader.trace
#include "engine/Engine.h"
#include "nodes/image/EffectLibrary.h"
#include "nodes/image/ImageNode.h"
#include "nodes/image/ShaderNodeTypes.h"
#include "platform/GlWindow.h"
#include "platform/Paths.h"
#include "render/GL_MemTexture.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace vorn;
namespace fs = std::filesystem;

const char kLevels[] =
    "Type effect\n"
    "Name \"Levels %\" \"Levels\"\n"
    "Input 0, \"Source\" \"rgba\"\n"
    "Param 0, \"Gamma\" float, 0.1, 4.0, 1.0\n"
    "Param 1, \"Blackpoint\" float, 0.0, 1.0, 0.0\n"
    "Param 2, \"Whitepoint\" float, 0.0, 1.0, 1.0\n"
    "Param 3, \"Exp_R\" float, 0.1, 4.0, 1.0\n"
    "Param 4, \"Exp_G\" float, 0.1, 4.0, 1.0\n"
    "Param 5, \"Exp_B\" float, 0.1, 4.0, 1.0\n"
    "Param 6, \"Brightness\" float, 0.0, 4.0, 1.0\n"
    "Param 7, \"Contrast\" float, 0.0, 4.0, 1.0\n"
    "Param 8, \"LowColor\" color, 0.0, 0.0, 0.0, 0.0\n"
    "Param 9, \"HiColor\" color, 1.0, 1.0, 1.0, 1.0\n"
    "SourceLib ColorCorrect\n";

const char kVignette[] =
    "Type effect\n"
    "Name \"Vignette %\" \"Vignette\"\n"
    "Input 0, \"Source\" \"rgba\"\n"
    "Param 0, \"Strength\" float, 0.0, 2.0, 0.8\n"
    "Param 1, \"Radius\" float, 0.1, 1.5, 0.75\n"
    "Param 2, \"Pulse\" float, 0.0, 1.0, 0.5\n"
    "Param 3, \"Tint\" color, 0.0, 0.0, 0.0, 1.0\n"
    "Source\n"
    "#version 330 core\n"
    "in vec2 texcoord;\n"
    "in vec2 texcoord_Input[8];\n"
    "out vec4 frag[1];\n"
    "uniform sampler2D Source;\n"
    "uniform float Strength;\n"
    "uniform float Radius;\n"
    "uniform float Pulse;\n"
    "uniform vec4 Tint;\n"
    "uniform float ng_time;\n"
    "uniform float ng_aspectRatio;\n"
    "void main() {\n"
    "    vec4 c = texture(Source, texcoord_Input[0]);\n"
    "    vec2 offset = (texcoord - 0.5) * vec2(ng_aspectRatio, 1.0);\n"
    "    float radius = Radius * (1.0 + 0.1 * Pulse * sin(ng_time * 6.2831853));\n"
    "    float edge = smoothstep(radius * 0.5, radius, length(offset));\n"
    "    frag[0] = vec4(mix(c.rgb, Tint.rgb * c.a, clamp(edge * Strength, 0.0, 1.0)), c.a);\n"
    "}\n";

// The template with its "%" replaced by the number.
std::string numbered(const char* text, int number) {
    std::string result = text;
    result.replace(result.find('%'), 1, std::to_string(number));
    return result;
}

// A folder holding "Scripts" with count description files; removed at the end.
class ScriptFolder {
public:
    explicit ScriptFolder(int count) {
        std::string pattern = (fs::temp_directory_path() / "vorn-bench-scripts-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
        fs::create_directories(path / "Scripts");
        for (int i = 0; i < count; ++i) {
            std::ofstream out(path / "Scripts" / ("effect" + std::to_string(i) + ".node"), std::ios::binary);
            out << numbered(i % 2 ? kVignette : kLevels, i);
        }
    }
    ~ScriptFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    fs::path path;
};

void BM_LoadScripts(benchmark::State& state) {
    nodes::registerEffectLibrary();
    const int count = int(state.range(0));
    ScriptFolder folder(count);
    std::string previous = platform::currentDirectory();
    platform::changeDirectory(folder.path.string());
    engine::Engine engine;
    nodes::attachShaderNodeTypes(engine.factory);
    for (auto _ : state) {
        engine.loadScripts();
        benchmark::DoNotOptimize(engine.scripts.data());
    }
    platform::changeDirectory(previous);
    if (engine.scripts.size() != std::size_t(count)) state.SkipWithError("not every script was loaded");
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_LoadScripts)->Arg(200)->Unit(benchmark::kMillisecond);

platform::GlWindow* context() {
    static std::unique_ptr<platform::GlWindow> window = platform::GlWindow::create(platform::WindowMode::Hidden);
    if (window) window->makeCurrent();
    return window.get();
}

// A picture that renders nothing: a small texture in slot 0.
class Picture : public nodes::ImageNode {
public:
    Picture(engine::Engine& owner, std::string name) : ImageNode(owner, std::move(name)) {
        std::vector<uint8_t> pixels(64 * 64 * 4);
        for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = uint8_t(i * 7);
        texture_ = std::make_unique<render::GL_MemTexture>(64, 64, GL_RGBA, GL_REPEAT, GL_REPEAT, pixels.data());
        images[0] = texture_.get();
    }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }

private:
    std::unique_ptr<render::GL_MemTexture> texture_;
};

// Ten shader nodes, Levels and Vignette by turns, each reading the one before.
void BM_ShaderChainFrame(benchmark::State& state) {
    platform::GlWindow* window = context();
    if (!window) {
        state.SkipWithError("no OpenGL context");
        return;
    }
    nodes::registerEffectLibrary();
    ScriptFolder folder(2);
    std::string previous = platform::currentDirectory();
    platform::changeDirectory(folder.path.string());
    {
        engine::Engine engine;
        nodes::attachShaderNodeTypes(engine.factory);
        engine.loadScripts();
        engine.addNode("Picture", std::make_unique<Picture>(engine, "Picture"));
        std::string input = "Picture";
        for (int i = 0; i < 10; ++i) {
            std::string name = "Pass " + std::to_string(i);
            engine.createNode(name, i % 2 ? "Vignette 1" : "Levels 0");
            engine.connect(input, name, 0);
            input = name;
        }
        engine::Node* last = engine.findNode(input);
        engine.time = 0.0f;
        for (auto _ : state) {
            engine.time += 1.0f / 60.0f;
            for (auto& [name, node] : engine.nodesByName) node->evaluated = false;
            last->evaluate();
            glFinish();
            window->swapBuffers();
        }
        state.SetItemsProcessed(state.iterations() * 10);
    }
    platform::changeDirectory(previous);
}
BENCHMARK(BM_ShaderChainFrame)->Unit(benchmark::kMillisecond);

}  // namespace
