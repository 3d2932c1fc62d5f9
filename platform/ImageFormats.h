// The per-format decoders behind decodeImage; platform-internal.
#pragma once

#include "platform/ImageDecoder.h"

namespace vorn::platform::detail {

bool isPng(const uint8_t* data, std::size_t size);
bool isJpeg(const uint8_t* data, std::size_t size);

// Both return nothing with the reason in whyNot (never null here).
std::optional<DecodedImage> decodePng(const uint8_t* data, std::size_t size, std::string* whyNot,
                                      const ImageLimits& limits);
std::optional<DecodedImage> decodeJpeg(const uint8_t* data, std::size_t size, std::string* whyNot,
                                       const ImageLimits& limits);

// Checks the size a header announces against the limits before anything is allocated.
bool dimensionsAllowed(long long width, long long height, int channels, const ImageLimits& limits,
                       std::string* whyNot);

}  // namespace vorn::platform::detail
