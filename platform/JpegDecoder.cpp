// JPEG through the TurboJPEG interface of libjpeg-turbo. Only colour JPEGs
// (YCbCr or RGB) are read; greyscale and CMYK files are refused. Warnings, as
// a truncated file raises, count as failures.
#include "platform/ImageFormats.h"

#include <turbojpeg.h>

#include <memory>

namespace vorn::platform::detail {

namespace {
struct HandleDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};
}  // namespace

bool isJpeg(const uint8_t* data, std::size_t size) {
    return size >= 3 && data[0] == 0xFF && data[1] == 0xD8 && data[2] == 0xFF;
}

std::optional<DecodedImage> decodeJpeg(const uint8_t* data, std::size_t size, std::string* whyNot,
                                       const ImageLimits& limits) {
    std::unique_ptr<void, HandleDeleter> handle(tjInitDecompress());
    if (!handle) {
        *whyNot = "cannot start the JPEG decoder";
        return std::nullopt;
    }
    int width = 0, height = 0, subsampling = 0, colourSpace = 0;
    if (tjDecompressHeader3(handle.get(), data, (unsigned long)size, &width, &height, &subsampling, &colourSpace) != 0) {
        *whyNot = std::string("damaged JPEG: ") + tjGetErrorStr2(handle.get());
        return std::nullopt;
    }
    if (colourSpace != TJCS_YCbCr && colourSpace != TJCS_RGB) {
        *whyNot = colourSpace == TJCS_GRAY ? "greyscale JPEG (only colour is read)" : "CMYK JPEG (only colour is read)";
        return std::nullopt;
    }
    if (!dimensionsAllowed(width, height, 3, limits, whyNot)) return std::nullopt;

    DecodedImage image;
    image.width = width;
    image.height = height;
    image.channels = 3;
    image.pixels.resize(std::size_t(width) * std::size_t(height) * 3);
    if (tjDecompress2(handle.get(), data, (unsigned long)size, image.pixels.data(), width, width * 3, height,
                      TJPF_RGB, TJFLAG_STOPONWARNING | TJFLAG_LIMITSCANS) != 0) {
        *whyNot = std::string("damaged JPEG: ") + tjGetErrorStr2(handle.get());
        return std::nullopt;
    }
    return image;
}

}  // namespace vorn::platform::detail
