#include "sync/SyncTrack.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace vorn::sync {

namespace {

// First key whose row is not below row (the insertion point).
std::vector<SyncKey>::const_iterator lowerBound(const std::vector<SyncKey>& keys, int32_t row) {
    return std::lower_bound(keys.begin(), keys.end(), row,
                            [](const SyncKey& key, int32_t wanted) { return key.row < wanted; });
}

// floor(row) as an int32, clamped so that huge or NaN rows cannot overflow the conversion.
int32_t floorRow(double row) {
    double floored = std::floor(row);
    if (!(floored >= double(std::numeric_limits<int32_t>::min()))) return std::numeric_limits<int32_t>::min();
    if (floored > double(std::numeric_limits<int32_t>::max())) return std::numeric_limits<int32_t>::max();
    return int32_t(floored);
}

}  // namespace

int findKey(const SyncTrack& track, int32_t row) {
    auto it = lowerBound(track.keys, row);
    if (it == track.keys.end() || it->row != row) return -1;
    return int(it - track.keys.begin());
}

void setKey(SyncTrack& track, const SyncKey& key) {
    auto it = lowerBound(track.keys, key.row);
    if (it != track.keys.end() && it->row == key.row) {
        auto& existing = track.keys[std::size_t(it - track.keys.begin())];
        existing = key;
        return;
    }
    track.keys.insert(it, key);
}

bool deleteKey(SyncTrack& track, int32_t row) {
    int index = findKey(track, row);
    if (index < 0) return false;
    track.keys.erase(track.keys.begin() + index);
    return true;
}

double getValue(const SyncTrack& track, double row) {
    const auto& keys = track.keys;
    if (keys.empty()) return 0.0;

    // The key at floor(row), or else the last key before it.
    int32_t irow = floorRow(row);
    auto it = lowerBound(keys, irow);
    long idx = long(it - keys.begin());
    if (it == keys.end() || it->row != irow) idx -= 1;

    if (idx < 0) return keys.front().value;
    if (idx > long(keys.size()) - 2) return keys.back().value;

    const SyncKey& from = keys[std::size_t(idx)];
    const SyncKey& to = keys[std::size_t(idx) + 1];
    float a = from.value;
    float d = to.value - a;
    double t = (row - from.row) / (double(to.row) - double(from.row));
    switch (from.kind) {
    case Step: return a;
    case Linear: return a + d * t;
    case Smooth: return a + d * (t * t * (3.0 - 2.0 * t));
    case Quadratic: return a + d * (t * t);
    default: return 0.0;
    }
}

}  // namespace vorn::sync
