// Arbitrary tracker bytes fed to the sync client's update over a socket pair:
// whatever arrives, the client must not crash, hang or break its sorted keys.
#include <sys/socket.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/TcpSocket.h"
#include "sync/SyncClient.h"

using namespace vorn;

namespace {

struct Seen {
    unsigned pauses = 0;
    unsigned seeks = 0;
};

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // SaveTracks commands write track files: keep them in a folder of their own.
    static char folder[] = "/tmp/vorn-fuzz-sync-XXXXXX";
    if (!::mkdtemp(folder) || ::chdir(folder) != 0) std::abort();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 65536) size = 65536;  // stays well inside the socket buffer, so the write never blocks
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) std::abort();

    sync::SyncClient client("sync");
    client.getTrack("a");
    client.getTrack("cam:pos x");
    client.getTrack("dir/t");
    if (!client.adoptConnection(platform::TcpSocket::adopt(pair[0]))) std::abort();

    for (size_t written = 0; written < size;) {
        ssize_t n = ::write(pair[1], data + written, size - written);
        if (n <= 0) std::abort();
        written += size_t(n);
    }
    // End of stream after the bytes: a command cut short fails at once instead of waiting.
    ::shutdown(pair[1], SHUT_WR);

    Seen seen;
    sync::SyncCallbacks callbacks;
    callbacks.pause = [](void* context, uint8_t) { ++static_cast<Seen*>(context)->pauses; };
    callbacks.setRow = [](void* context, uint32_t) { ++static_cast<Seen*>(context)->seeks; };
    callbacks.isPlaying = [](void*) { return 1; };
    for (uint32_t row = 0; row < 4 && client.update(row, &callbacks, &seen); ++row) {
    }
    if (client.isConnected()) std::abort();  // the stream ended, so the link must be gone

    for (const auto& track : client.tracks()) {
        for (size_t i = 0; i < track->keys.size(); ++i) {
            if (track->keys[i].kind >= sync::syncKeyKindCount) std::abort();
            if (i > 0 && track->keys[i - 1].row >= track->keys[i].row) std::abort();
        }
        for (double row : {-1.0, 0.0, 0.5, 7.25, 1e6, -1e12})
            (void)sync::getValue(*track, row);
    }
    ::close(pair[1]);
    return 0;
}
