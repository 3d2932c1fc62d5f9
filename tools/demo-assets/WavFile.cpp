#include "tools/demo-assets/WavFile.h"

#include "platform/Paths.h"

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

bool writeWav(const std::string& path, const std::vector<int16_t>& samples, int channels, int sampleRate) {
    const uint32_t dataBytes = uint32_t(samples.size() * 2);
    const uint16_t frameBytes = uint16_t(channels * 2);
    std::vector<uint8_t> out;
    out.reserve(44 + dataBytes);
    putTag(out, "RIFF");
    put32(out, 36 + dataBytes);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put32(out, 16);
    put16(out, 1);  // PCM
    put16(out, uint16_t(channels));
    put32(out, uint32_t(sampleRate));
    put32(out, uint32_t(sampleRate) * frameBytes);
    put16(out, frameBytes);
    put16(out, 16);
    putTag(out, "data");
    put32(out, dataBytes);
    for (int16_t s : samples) put16(out, uint16_t(s));
    return platform::writeFile(path, out);
}

}  // namespace vorn::demoassets
