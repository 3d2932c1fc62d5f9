// One tracker track: a named list of keys kept sorted by row with unique rows,
// searched by bisection. Reading a track at a fractional row interpolates
// between the key at or before the row and the next one by the earlier key's kind.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::sync {

enum SyncKeyKind : uint8_t {
    Step = 0,
    Linear = 1,
    Smooth = 2,
    Quadratic = 3,
};
constexpr uint8_t syncKeyKindCount = 4;

struct SyncKey {
    int32_t row = 0;
    float value = 0.0f;
    uint8_t kind = Step;
};

struct SyncTrack {
    std::string name;
    std::vector<SyncKey> keys;  // ascending by row, rows unique
    // True when getTrack found this track's ".track" file and read its key
    // count; playback from files binds only such tracks.
    bool loadedFromFile = false;
};

// Index of the key at exactly row, or -1.
int findKey(const SyncTrack& track, int32_t row);

// Inserts a key or, when one exists at its row, overwrites its value and kind.
void setKey(SyncTrack& track, const SyncKey& key);

// Removes the key at row; a row without a key leaves the track unchanged.
// True when a key was removed.
bool deleteKey(SyncTrack& track, int32_t row);

// Value of the track at a fractional row: 0.0 without keys, the first key's
// value before it, the last key's value at or after it, otherwise the earlier
// key's interpolation towards the next one.
double getValue(const SyncTrack& track, double row);

}  // namespace vorn::sync
