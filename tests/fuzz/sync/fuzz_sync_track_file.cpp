// Arbitrary ".track" file contents loaded through the sync client: loading
// must keep the keys sorted with known kinds, allocate only for keys present,
// and what it loaded must save and load back unchanged.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "sync/SyncClient.h"

using namespace vorn;

namespace {

const uint8_t* fileData = nullptr;
size_t fileSize = 0;

std::FILE* openFuzzInput(const char*, const char*) {
    if (fileSize == 0) return std::fopen("/dev/null", "rb");
    return ::fmemopen(const_cast<uint8_t*>(fileData), fileSize, "rb");
}

bool sameKeys(const sync::SyncTrack& a, const sync::SyncTrack& b) {
    if (a.keys.size() != b.keys.size()) return false;
    for (size_t i = 0; i < a.keys.size(); ++i) {
        const auto &x = a.keys[i], &y = b.keys[i];
        if (x.row != y.row || x.kind != y.kind || std::memcmp(&x.value, &y.value, sizeof x.value) != 0) return false;
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    static char folder[] = "/tmp/vorn-fuzz-track-XXXXXX";
    if (!::mkdtemp(folder) || ::chdir(folder) != 0) std::abort();
    std::atexit([] {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fileData = data;
    fileSize = size;
    sync::SyncClient client("sync", sync::SyncClient::Mode::Playback);
    client.setFileFunctions({openFuzzInput, std::fread, std::fclose});
    sync::SyncTrack* track = client.getTrack("t");

    bool countReadable = size >= 4 && (data[3] & 0x80) == 0;  // four bytes, not negative
    if (track->loadedFromFile != countReadable) std::abort();
    if (track->keys.size() > (size < 4 ? 0 : (size - 4) / 9)) std::abort();
    for (size_t i = 0; i < track->keys.size(); ++i) {
        if (track->keys[i].kind >= sync::syncKeyKindCount) std::abort();
        if (i > 0 && track->keys[i - 1].row >= track->keys[i].row) std::abort();
    }
    for (double row : {-5.0, 0.0, 3.5, 100.0, 1e9})
        (void)sync::getValue(*track, row);

    if (!client.saveTracks()) std::abort();
    sync::SyncTrack reloaded;
    if (!sync::loadTrackFile(reloaded, sync::trackPath(client.base(), "t"), sync::defaultFileFunctions()) ||
        !sameKeys(*track, reloaded))
        std::abort();
    return 0;
}
