#include "tests/platform/PngBytes.h"

#include <algorithm>
#include <string>

namespace vorn::test {

namespace {

uint32_t crc32(const uint8_t* data, std::size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

uint32_t adler32(const std::vector<uint8_t>& data) {
    uint32_t a = 1, b = 0;
    for (uint8_t byte : data) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    return (b << 16) | a;
}

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const std::string& type, const std::vector<uint8_t>& data) {
    putBigEndian(out, uint32_t(data.size()));
    std::vector<uint8_t> body(type.begin(), type.end());
    body.insert(body.end(), data.begin(), data.end());
    out.insert(out.end(), body.begin(), body.end());
    putBigEndian(out, crc32(body.data(), body.size()));
}

std::vector<uint8_t> storedZlib(const std::vector<uint8_t>& raw) {
    std::vector<uint8_t> out = {0x78, 0x01};
    std::size_t offset = 0;
    do {
        std::size_t length = std::min<std::size_t>(raw.size() - offset, 65535);
        bool final = offset + length == raw.size();
        out.push_back(final ? 1 : 0);
        out.push_back(uint8_t(length));
        out.push_back(uint8_t(length >> 8));
        out.push_back(uint8_t(~length));
        out.push_back(uint8_t(~length >> 8));
        out.insert(out.end(), raw.begin() + long(offset), raw.begin() + long(offset + length));
        offset += length;
    } while (offset < raw.size());
    putBigEndian(out, adler32(raw));
    return out;
}

int samplesPerPixel(uint8_t colourType) {
    switch (colourType) {
        case 2: return 3;
        case 4: return 2;
        case 6: return 4;
        default: return 1;
    }
}

}  // namespace

std::vector<uint8_t> makePng(const PngLayout& layout) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBigEndian(header, layout.width);
    putBigEndian(header, layout.height);
    header.insert(header.end(), {layout.bitDepth, layout.colourType, 0, 0, layout.interlace});
    putChunk(out, "IHDR", header);
    if (!layout.palette.empty()) putChunk(out, "PLTE", layout.palette);
    for (const auto& [type, data] : layout.extraChunks) putChunk(out, type, data);

    std::size_t rowBytes = (std::size_t(layout.width) * std::size_t(samplesPerPixel(layout.colourType)) * layout.bitDepth + 7) / 8;
    std::vector<uint8_t> raw = layout.filtered;
    if (raw.empty()) {
        for (uint32_t y = 0; y < layout.height; ++y) {
            raw.push_back(0);  // filter: none
            auto begin = layout.rows.begin() + long(y * rowBytes);
            raw.insert(raw.end(), begin, begin + long(rowBytes));
        }
    }
    putChunk(out, "IDAT", storedZlib(raw));
    putChunk(out, "IEND", {});
    return out;
}

}  // namespace vorn::test
