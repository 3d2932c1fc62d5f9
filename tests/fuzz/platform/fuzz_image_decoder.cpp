// Any bytes through the image decoder: PNG, JPEG or neither. The limits are
// tighter than the defaults only to keep each run quick.
#include <cstdlib>

#include "platform/ImageDecoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vorn::platform::ImageLimits limits{.maxDimension = 4096, .maxPixelBytes = std::size_t(16) << 20};
    auto image = vorn::platform::decodeImage(data, size, nullptr, limits);
    if (!image) return 0;
    if (image->pixels.size() != std::size_t(image->width) * image->height * image->channels) std::abort();
    if (image->channels != 3 && image->channels != 4) std::abort();
    vorn::platform::premultiplyAlpha(*image);
    return 0;
}
