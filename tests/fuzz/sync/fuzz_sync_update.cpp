// Any tracker bytes over a socket pair: the client keeps its keys sorted and
// drops the link once the stream ends.
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>

#include "platform/TcpSocket.h"
#include "sync/SyncClient.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace vorn;
using fuzz::check;

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enterScratchFolder();  // where SaveTracks commands write
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    size = std::min<size_t>(size, 65536);  // inside the socket buffer: one write, never blocking
    int pair[2];
    check(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) == 0);
    sync::SyncClient client("sync");
    for (const char* name : {"a", "cam:pos x", "dir/t"}) client.getTrack(name);
    check(client.adoptConnection(platform::TcpSocket::adopt(pair[0])));
    check(::write(pair[1], data, size) == ssize_t(size));
    // End of stream after the bytes: a command cut short fails at once instead of waiting.
    ::shutdown(pair[1], SHUT_WR);

    unsigned calls = 0;
    sync::SyncCallbacks callbacks;
    callbacks.pause = [](void* context, uint8_t) { ++*static_cast<unsigned*>(context); };
    callbacks.setRow = [](void* context, uint32_t) { ++*static_cast<unsigned*>(context); };
    callbacks.isPlaying = [](void*) { return 1; };
    for (uint32_t row = 0; row < 4 && client.update(row, &callbacks, &calls); ++row) {
    }
    check(!client.isConnected());

    for (const auto& track : client.tracks()) {
        for (size_t i = 0; i < track->keys.size(); ++i) {
            check(track->keys[i].kind < sync::syncKeyKindCount);
            check(i == 0 || track->keys[i - 1].row < track->keys[i].row);
        }
        for (double row : {-1.0, 0.0, 0.5, 7.25, 1e6, -1e12}) (void)sync::getValue(*track, row);
    }
    ::close(pair[1]);
    return 0;
}
