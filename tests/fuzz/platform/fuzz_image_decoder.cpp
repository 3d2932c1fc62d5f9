// Any bytes through the image decoder: PNG, JPEG or neither. The limits are
// tighter than the defaults only to keep each run quick; the checks are the same.
#include "platform/ImageDecoder.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    vorn::platform::ImageLimits limits{.maxDimension = 4096, .maxPixelBytes = std::size_t(16) << 20};
    auto image = vorn::platform::decodeImage(data, size, nullptr, limits);
    if (image) {
        std::size_t expected = std::size_t(image->width) * std::size_t(image->height) * std::size_t(image->channels);
        if (image->pixels.size() != expected || (image->channels != 3 && image->channels != 4)) std::abort();
        vorn::platform::premultiplyAlpha(*image);
    }
    return 0;
}
