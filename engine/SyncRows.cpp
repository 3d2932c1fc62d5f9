#include "engine/SyncRows.h"

#include <cmath>

namespace vorn::engine {

namespace {

// Truncating conversion that saturates instead of overflowing.
uint32_t toUint32(double value) {
    if (!(value > 0.0)) return 0;
    if (value >= 4294967295.0) return 4294967295u;
    return uint32_t(value);
}

}  // namespace

float rowsPerSecondFor(float bpm) { return float(bpm / 60.0 * 8.0); }

SyncRow syncRowAt(uint32_t positionMs, float rowsPerSecond) {
    SyncRow row;
    row.exact = positionMs / 1000.0 * rowsPerSecond;
    row.rounded = toUint32(std::floor(row.exact + 0.5));
    return row;
}

std::optional<float> secondsForRow(uint32_t row, float rowsPerSecond) {
    if (!(rowsPerSecond > 0.0f) || !std::isfinite(rowsPerSecond)) return std::nullopt;
    return float(row) / rowsPerSecond;
}

uint32_t positionMsFor(float seconds) { return toUint32(double(seconds * 1000.0f)); }

}  // namespace vorn::engine
