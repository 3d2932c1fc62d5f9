// Writes the 16-bit PCM WAV files the music tests encode to MP3 with lame:
//   make_tone stereo <file>  2 s at 44.1 kHz, a 440 Hz sine (half scale) on the left, silence on the right
//   make_tone mono <file>    2 s at 44.1 kHz, the same sine on the one channel
#include "tools/demo-assets/WavFile.h"

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const bool stereo = std::strcmp(argv[1], "stereo") == 0;
    const int rate = 44100, frames = rate * 2;
    std::vector<int16_t> samples;
    for (int i = 0; i < frames; ++i) {
        double value = 0.5 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate);
        samples.push_back(int16_t(std::lround(value * 32767.0)));
        if (stereo) samples.push_back(0);
    }
    return vorn::demoassets::writeWav(argv[2], samples, stereo ? 2 : 1, rate) ? 0 : 1;
}
