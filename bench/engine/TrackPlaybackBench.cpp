// The engine's frame while playing track files: 1,000 nodes, each with one
// float linked to its own track of 1,000 keys loaded from a ".track" file. The
// frame has no output node, so the time is the clock, the row, the track reads
// and the keyframe and flag passes. Beside it the same frame with nothing linked.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "engine/Engine.h"
#include "platform/AudioOutput.h"
#include "platform/Paths.h"
#include "sync/TrackFile.h"

namespace {

using namespace vorn;
using engine::Engine;

class FloatNode : public engine::Node {
public:
    FloatNode(Engine& engine, const std::string& name) : Node(engine, name) {
        engine.addFloat(*this, "Value", &value, -100.0f, 100.0f, 3, 0.0f, false);
    }
    engine::NodeKind kind() const override { return engine::NodeKind::Image; }
    bool acceptsInput(int32_t, const Node&) const override { return false; }
    bool process() override { return true; }
    float value = 0.0f;
};

// A fresh working folder with the music file and one track file per node.
struct Folder {
    std::filesystem::path path;
    std::string previous = platform::currentDirectory();

    explicit Folder(int trackCount, int keyCount) {
        std::string pattern = (std::filesystem::temp_directory_path() / "vorn-bench-XXXXXX").string();
        if (!::mkdtemp(pattern.data())) std::abort();
        path = pattern;
        std::filesystem::create_directory(path / "rsrc");
        std::FILE* music = std::fopen((path / "rsrc" / "track.mp3").c_str(), "wb");  // the stepped output only needs it to exist
        if (!music) std::abort();
        std::fclose(music);
        platform::changeDirectory(path.string());
        for (int t = 0; t < trackCount; ++t) {
            sync::SyncTrack track;
            track.name = "track " + std::to_string(t);
            for (int k = 0; k < keyCount; ++k) track.keys.push_back({k * 4 + t % 3, float(k % 17), uint8_t(k % 4)});
            if (!sync::saveTrackFile(track, sync::trackPath("sync", track.name))) std::abort();
        }
    }
    ~Folder() {
        platform::changeDirectory(previous);
        std::filesystem::remove_all(path);
    }
};

void BM_TrackPlaybackFrame(benchmark::State& state) {
    const int nodeCount = 1000;
    const int keyCount = 1000;
    const bool linked = state.range(0) == 1;
    Folder folder(linked ? nodeCount : 0, keyCount);

    auto audioOwned = platform::createSteppedAudio();
    platform::SteppedAudioOutput* audio = audioOwned.get();
    Engine engine(std::move(audioOwned));
    engine.factory.add("Float", engine::constructs<FloatNode>());
    engine.initialise();
    for (int i = 0; i < nodeCount; ++i) {
        std::string name = "Node " + std::to_string(i);
        engine.createNode(name, "Float");
        if (linked) engine.linkSyncTrack(name, "track " + std::to_string(i), "Value");
    }
    engine.update(0.0f);  // loads the sound
    engine.music->startPlayback(0.0f);
    engine.startTrackPlayback();
    if (engine.syncBindings.size() != (linked ? std::size_t(nodeCount) : 0u)) {
        state.SkipWithError("track files were not bound");
        return;
    }

    uint32_t ms = 0;
    for (auto _ : state) {
        audio->standAt(ms);
        benchmark::DoNotOptimize(engine.update(0.0f));
        ms = (ms + 17) % 240000;  // one 60 Hz frame; the keys span 4,000 rows, 240 s at 125 bpm
    }
    state.SetItemsProcessed(state.iterations() * (linked ? nodeCount : 0));
}
BENCHMARK(BM_TrackPlaybackFrame)->ArgName("linked")->Arg(1)->Arg(0)->Unit(benchmark::kMicrosecond);

}  // namespace
