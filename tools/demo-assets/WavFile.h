// Writes 16-bit PCM stereo as a RIFF WAVE file (what the MP3 encoder reads).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::demoassets {

bool writeWav(const std::string& path, const std::vector<int16_t>& interleavedStereo, int sampleRate);

}  // namespace vorn::demoassets
