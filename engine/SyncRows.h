// The tracker counts in rows: eight per beat. These convert between the music
// position and rows in both directions, guarding the conversions so that an odd
// tempo never turns into an out-of-range integer.
#pragma once

#include <cstdint>
#include <optional>

namespace vorn::engine {

// bpm / 60 * 8.
float rowsPerSecondFor(float bpm);

struct SyncRow {
    double exact = 0.0;    // the fractional row track values are read at
    uint32_t rounded = 0;  // floor(exact + 0.5), reported to the tracker
};

// Row at a music position; a result outside 0 .. 2^32-1 (or not a number) is
// clamped into that range.
SyncRow syncRowAt(uint32_t positionMs, float rowsPerSecond);

// The time of a row the tracker seeks to: row / rowsPerSecond seconds. Nothing
// when rowsPerSecond is not a positive number (no tempo yet).
std::optional<float> secondsForRow(uint32_t row, float rowsPerSecond);

// A time in whole milliseconds, truncated, as channel positions are set;
// negative or not-a-number times give 0, huge ones the largest position.
uint32_t positionMsFor(float seconds);

}  // namespace vorn::engine
