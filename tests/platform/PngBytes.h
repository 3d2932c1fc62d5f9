// PNG files written byte by byte, with the image data in stored (uncompressed)
// deflate blocks, so the decoder tests need neither a codec nor the encoder
// under test. Any colour type and bit depth can be written, valid or not.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace vorn::test {

struct PngLayout {
    uint32_t width = 1;
    uint32_t height = 1;
    uint8_t bitDepth = 8;
    uint8_t colourType = 2;        // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    std::vector<uint8_t> rows;     // the scanlines without filter bytes, top row first
    std::vector<uint8_t> palette;  // PLTE entries (RGB triples) for colour type 3
    uint8_t interlace = 0;         // 1: Adam7; then give the filtered data of every pass below
    std::vector<uint8_t> filtered; // when not empty: the image data as stored, filter bytes included
    std::vector<std::pair<std::string, std::vector<uint8_t>>> extraChunks;  // type and data, before IDAT
};

std::vector<uint8_t> makePng(const PngLayout& layout);

}  // namespace vorn::test
