// Reading a project document from memory: 2,000 nodes with ten parameters each
// (20,000, every kind), 5,000 keyframe tracks of eight keys, wiring and links.
#include <benchmark/benchmark.h>

#include "engine/ProjectReader.h"
#include "engine/ProjectWriter.h"

namespace {

using namespace vorn::engine;

ProjectDocument largeDocument() {
    const int nodes = 2000;
    ProjectDocument document;
    document.sections.emplace_back(ProjectHeader{"demo", ".\\rsrc\\", ".\\rsrc\\track.mp3", ".\\rsrc\\track.wav", "200"});
    NodesSection types;
    WiringSection wiring;
    ParametersSection parameters;
    TracksSection tracks;
    LinksSection links;
    for (int n = 0; n < nodes; ++n) {
        std::string name = "Node " + std::to_string(n);
        types.push_back({name, n % 2 ? "Glow" : "Compose"});
        wiring.push_back({name, {{0, n ? "Node " + std::to_string(n - 1) : ""}, {1, ""}}});
        ParameterGroup group{name, {}};
        for (uint32_t p = 0; p < 10; ++p) {
            StoredParameter parameter;
            parameter.name = "Parameter " + std::to_string(p);
            parameter.typeCode = p % 7;
            parameter.integer = int32_t(p);
            parameter.floats = {0.5f, 0.25f, 0.125f, 1.0f};
            parameter.text = ".\\rsrc\\images\\picture" + std::to_string(n) + ".png";
            group.parameters.push_back(std::move(parameter));
        }
        parameters.push_back(std::move(group));
        TrackGroup trackGroup{name, {}};
        for (int t = 0; t < (n % 2 ? 3 : 2); ++t) {  // 2.5 tracks per node on average
            StoredTrack track{name + ".Parameter " + std::to_string(t), name, 0.0f, 1.0f, {}};
            for (int k = 0; k < 8; ++k) track.keys.push_back(Keyframe{0.1f * float(k), float(k), k % 4});
            trackGroup.tracks.push_back(std::move(track));
        }
        tracks.push_back(std::move(trackGroup));
        if (n % 10 == 0) links.push_back({name, "track" + std::to_string(n), "Parameter 2"});
    }
    document.sections.emplace_back(std::move(types));
    document.sections.emplace_back(CountersSection{{"Glow", 1000}, {"Compose", 1000}});
    document.sections.emplace_back(std::move(wiring));
    document.sections.emplace_back(std::move(parameters));
    document.sections.emplace_back(std::move(tracks));
    document.sections.emplace_back(std::move(links));
    return document;
}

void BM_ReadProjectDocument(benchmark::State& state) {
    std::vector<uint8_t> bytes = writeProjectDocument(largeDocument());
    for (auto _ : state) {
        ProjectReadResult read = readProjectDocument(bytes);
        benchmark::DoNotOptimize(read.document.sections.data());
    }
    state.SetBytesProcessed(state.iterations() * int64_t(bytes.size()));
    state.counters["fileBytes"] = double(bytes.size());
}
BENCHMARK(BM_ReadProjectDocument)->Unit(benchmark::kMillisecond);

}  // namespace
