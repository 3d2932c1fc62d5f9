// Writes 16-bit PCM as a RIFF WAVE file (what the MP3 encoder reads): the
// demo's music, and the tones the music tests encode.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::demoassets {

// samples holds channels interleaved values per frame (1 mono, 2 stereo).
bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int sampleRate);

}  // namespace vorn::demoassets
