// Image files to 8-bit pixels: PNG (through libpng) and JPEG (through
// libjpeg-turbo), decoded to tightly packed rows, top row first, 3 channels
// (RGB) or 4 (RGBA). Only images that are 8-bit RGB or RGBA to begin with are
// accepted; palettised, grey, grey-with-alpha, 16-bit, CMYK and every other
// layout yield no pixels, as do truncated or damaged files. Dimensions are
// capped before anything is allocated.
//
// Alpha is delivered straight; premultiplyAlpha converts when a caller asks.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::platform {

struct DecodedImage {
    int width = 0;
    int height = 0;
    int channels = 0;             // 3 (RGB) or 4 (RGBA)
    std::vector<uint8_t> pixels;  // height rows of width * channels bytes, top row first
};

struct ImageLimits {
    int maxDimension = 16384;                      // per side
    std::size_t maxPixelBytes = std::size_t(256) << 20;  // width * height * channels
};

// Decodes a PNG or JPEG held in memory. Nothing on failure, with the reason in
// *whyNot when given; nothing is logged.
std::optional<DecodedImage> decodeImage(const uint8_t* data, std::size_t size, std::string* whyNot = nullptr,
                                        const ImageLimits& limits = {});

// Reads the file (through resolvePath) and decodes it. A failure is reported on
// the debug channel as one line naming the file and the reason.
std::optional<DecodedImage> decodeImageFile(std::string_view path);

// Each colour channel becomes its value times alpha / 255, truncated toward
// zero; alpha is kept. Three-channel images are left alone.
void premultiplyAlpha(DecodedImage& image);

}  // namespace vorn::platform
