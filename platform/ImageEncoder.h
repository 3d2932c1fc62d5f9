// Pixels to image files: 8-bit RGB or RGBA PNG (frames written by the capture
// tool) and baseline JPEG. Rows are tightly packed, top row first.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace vorn::platform {

// channels 3 (RGB) or 4 (RGBA). Nothing for bad arguments.
std::optional<std::vector<uint8_t>> encodePng(int width, int height, int channels, const uint8_t* pixels);

// Encodes and writes the file (through resolvePath); failures are reported as one line.
bool writePngFile(std::string_view path, int width, int height, int channels, const uint8_t* pixels);

// channels 1 (a greyscale JPEG) or 3 (RGB, 4:4:4); quality 1..100.
std::optional<std::vector<uint8_t>> encodeJpeg(int width, int height, int channels, const uint8_t* pixels,
                                               int quality);

}  // namespace vorn::platform
