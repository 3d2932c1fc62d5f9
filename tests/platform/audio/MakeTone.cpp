// Writes the 16-bit PCM WAV files the music tests encode to MP3 with lame:
//   make_tone stereo <file>  2 s at 44.1 kHz, a 440 Hz sine (half scale) on the left, silence on the right
//   make_tone mono <file>    2 s at 44.1 kHz, the same sine on the one channel
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <vector>

namespace {

void put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}
void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const bool stereo = std::strcmp(argv[1], "stereo") == 0;
    const uint32_t rate = 44100, frames = rate * 2, channels = stereo ? 2 : 1;
    std::vector<uint8_t> samples;
    for (uint32_t i = 0; i < frames; ++i) {
        double value = 0.5 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate);
        put16(samples, uint16_t(int16_t(std::lround(value * 32767.0))));
        if (stereo) put16(samples, 0);
    }
    std::vector<uint8_t> wav;
    putTag(wav, "RIFF");
    put32(wav, uint32_t(36 + samples.size()));
    putTag(wav, "WAVE");
    putTag(wav, "fmt ");
    put32(wav, 16);
    put16(wav, 1);
    put16(wav, channels);
    put32(wav, rate);
    put32(wav, rate * channels * 2);
    put16(wav, channels * 2);
    put16(wav, 16);
    putTag(wav, "data");
    put32(wav, uint32_t(samples.size()));
    wav.insert(wav.end(), samples.begin(), samples.end());
    std::FILE* file = std::fopen(argv[2], "wb");
    if (!file) return 1;
    bool ok = std::fwrite(wav.data(), 1, wav.size(), file) == wav.size();
    return std::fclose(file) == 0 && ok ? 0 : 1;
}
