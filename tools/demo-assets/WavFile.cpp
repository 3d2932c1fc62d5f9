#include "tools/demo-assets/WavFile.h"

#include <cstdio>

namespace vorn::demoassets {

namespace {

void put32(std::vector<uint8_t>& out, uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(uint8_t(v >> (8 * i)));
}
void put16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(uint8_t(v));
    out.push_back(uint8_t(v >> 8));
}
void putTag(std::vector<uint8_t>& out, const char* tag) { out.insert(out.end(), tag, tag + 4); }

}  // namespace

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int sampleRate) {
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, 2);  // stereo
    put32(out, uint32_t(sampleRate));
    put32(out, uint32_t(sampleRate) * 4);
    put16(out, 4);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataBytes);
    for (int16_t s : samples) put16(out, uint16_t(s));

    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file) return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && ok;
}

}  // namespace vorn::demoassets
