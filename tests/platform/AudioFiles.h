// The MP3 files the build makes for the music tests (see audio/CMakeLists.txt):
// 2 s of a 440 Hz sine at 44.1 kHz, half scale; the stereo file carries it on
// the left channel with silence on the right.
#pragma once

#include "tests/support/BuildFolders.h"

#include <string>

namespace vorn::test {

inline std::string stereoToneMp3() { return binaryFolder() + "/tests/platform/audio/tone-stereo.mp3"; }
inline std::string monoToneMp3() { return binaryFolder() + "/tests/platform/audio/tone-mono.mp3"; }

}  // namespace vorn::test
