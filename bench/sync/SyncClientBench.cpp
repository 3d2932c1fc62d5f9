// The sync client's per-frame cost: reading every bound track at the frame's
// row (a bisection each), and an update while the tracker is silent (one poll).
#include <benchmark/benchmark.h>

#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/TcpSocket.h"
#include "sync/SyncClient.h"

using namespace vorn;

namespace {

struct Binding {
    float* target;
    const sync::SyncTrack* track;
};

// 1,000 bound tracks of 1,000 keys, read once per frame as the engine does.
void BM_GetValueForEveryBinding(benchmark::State& state) {
    const int trackCount = 1000;
    const int keyCount = 1000;
    sync::SyncClient client("bench", sync::SyncClient::Mode::Playback);
    client.setFileFunctions({[](const char*, const char*) -> std::FILE* { return nullptr; }, std::fread, std::fclose});
    std::vector<float> targets(trackCount);
    std::vector<Binding> bindings;
    for (int t = 0; t < trackCount; ++t) {
        sync::SyncTrack* track = client.getTrack("track " + std::to_string(t));
        for (int k = 0; k < keyCount; ++k)
            sync::setKey(*track, {k * 4 + t % 3, float(k % 17), uint8_t(k % 4)});
        bindings.push_back({&targets[std::size_t(t)], track});
    }

    double row = 0.0;
    for (auto _ : state) {
        for (const Binding& binding : bindings) *binding.target = float(sync::getValue(*binding.track, row));
        benchmark::DoNotOptimize(targets.data());
        row += 1.37;  // about one frame at 125 bpm
        if (row > keyCount * 4.0) row = 0.0;
    }
    state.SetItemsProcessed(state.iterations() * trackCount);
}
BENCHMARK(BM_GetValueForEveryBinding)->Unit(benchmark::kMicrosecond);

struct SilentTracker {
    int pair[2] = {-1, -1};
    sync::SyncClient client{"bench"};
    SilentTracker() {
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) std::abort();
        client.adoptConnection(platform::TcpSocket::adopt(pair[0]));
    }
    ~SilentTracker() { ::close(pair[1]); }
};

int notPlaying(void*) { return 0; }
int playing(void*) { return 1; }

// Paused, or playing on the row already reported: nothing to read, nothing to send.
void BM_UpdateWhileTrackerIsSilent(benchmark::State& state) {
    SilentTracker tracker;
    sync::SyncCallbacks callbacks;
    callbacks.isPlaying = state.range(0) ? playing : notPlaying;
    tracker.client.update(7, &callbacks, nullptr);  // reports row 7 once when playing
    for (auto _ : state) benchmark::DoNotOptimize(tracker.client.update(7, &callbacks, nullptr));
    if (!tracker.client.isConnected()) state.SkipWithError("connection lost");
}
BENCHMARK(BM_UpdateWhileTrackerIsSilent)->Arg(0)->Arg(1)->ArgName("playing");

// The floor: one zero-timeout poll of the same socket.
void BM_ZeroTimeoutPoll(benchmark::State& state) {
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) std::abort();
    pollfd entry{pair[0], POLLIN, 0};
    for (auto _ : state) benchmark::DoNotOptimize(::poll(&entry, 1, 0));
    ::close(pair[0]);
    ::close(pair[1]);
}
BENCHMARK(BM_ZeroTimeoutPoll);

}  // namespace
