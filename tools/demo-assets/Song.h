// The bundled demo's music: a short electronic piece at 125 beats per minute,
// rendered sample by sample from a few simple voices. Deterministic: the same
// build always writes the same samples.
#pragma once

#include <cstdint>
#include <vector>

namespace vorn::demoassets {

inline constexpr int kSampleRate = 44100;
inline constexpr double kBeatsPerMinute = 125.0;
inline constexpr int kBars = 32;  // 4 beats each: 61.44 seconds

// Interleaved stereo, 16-bit.
std::vector<int16_t> renderSong();

}  // namespace vorn::demoassets
