// Any ".track" file: the keys stay sorted with known kinds, only keys present are
// allocated, and what was loaded saves and loads back unchanged.
#include <cstdio>
#include <cstring>

#include "sync/SyncClient.h"
#include "tests/fuzz/FuzzCheck.h"

using namespace vorn;
using fuzz::check;

namespace {

const uint8_t* fileData = nullptr;
size_t fileSize = 0;

std::FILE* openFuzzInput(const char*, const char*) {
    if (fileSize == 0) return std::fopen("/dev/null", "rb");
    return ::fmemopen(const_cast<uint8_t*>(fileData), fileSize, "rb");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::enterScratchFolder();  // where saved tracks go
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fileData = data;
    fileSize = size;
    sync::SyncClient client("sync", sync::SyncClient::Mode::Playback);
    client.setFileFunctions({openFuzzInput, std::fread, std::fclose});
    sync::SyncTrack* track = client.getTrack("t");

    check(track->loadedFromFile == (size >= 4 && (data[3] & 0x80) == 0));  // a count, not negative
    check(track->keys.size() <= (size < 4 ? 0 : (size - 4) / 9));
    for (size_t i = 0; i < track->keys.size(); ++i) {
        check(track->keys[i].kind < sync::syncKeyKindCount);
        check(i == 0 || track->keys[i - 1].row < track->keys[i].row);
    }
    for (double row : {-5.0, 0.0, 3.5, 100.0, 1e9}) (void)sync::getValue(*track, row);

    check(client.saveTracks());
    sync::SyncTrack reloaded;
    check(sync::loadTrackFile(reloaded, sync::trackPath(client.base(), "t"), sync::defaultFileFunctions()));
    check(reloaded.keys.size() == track->keys.size());
    for (size_t i = 0; i < reloaded.keys.size(); ++i) {
        const auto &x = track->keys[i], &y = reloaded.keys[i];
        check(x.row == y.row && x.kind == y.kind && std::memcmp(&x.value, &y.value, sizeof x.value) == 0);
    }
    return 0;
}
