#include "platform/ImageDecoder.h"

#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/ImageFormats.h"
#include "platform/Paths.h"

#include <string>

namespace vorn::platform {

namespace detail {

bool dimensionsAllowed(long long width, long long height, int channels, const ImageLimits& limits,
                       std::string* whyNot) {
    if (width <= 0 || height <= 0) {
        *whyNot = "empty image";
        return false;
    }
    if (width > limits.maxDimension || height > limits.maxDimension ||
        static_cast<unsigned long long>(width * height * channels) > limits.maxPixelBytes) {
        *whyNot = "image of " + std::to_string(width) + "x" + std::to_string(height) + " pixels is too large";
        return false;
    }
    return true;
}

}  // namespace detail

std::optional<DecodedImage> decodeImage(const uint8_t* data, std::size_t size, std::string* whyNot,
                                        const ImageLimits& limits) {
    std::string reason;
    std::optional<DecodedImage> image;
    if (detail::isPng(data, size))
        image = detail::decodePng(data, size, &reason, limits);
    else if (detail::isJpeg(data, size))
        image = detail::decodeJpeg(data, size, &reason, limits);
    else
        reason = "neither a PNG nor a JPEG file";
    if (!image && whyNot) *whyNot = reason;
    return image;
}

std::optional<DecodedImage> decodeImageFile(std::string_view path) {
    std::string whyNot;
    auto bytes = readFile(path, kMaxImageFileBytes, &whyNot);
    if (!bytes) {
        debugLine("cannot read image " + displayPath(path) + ": " + whyNot);
        return std::nullopt;
    }
    auto image = decodeImage(bytes->data(), bytes->size(), &whyNot);
    if (!image) debugLine("cannot decode image " + displayPath(path) + ": " + whyNot);
    return image;
}

void premultiplyAlpha(DecodedImage& image) {
    if (image.channels != 4) return;
    for (std::size_t i = 0; i + 3 < image.pixels.size(); i += 4) {
        float a = float(image.pixels[i + 3]) / 255.0f;
        for (std::size_t c = 0; c < 3; ++c) image.pixels[i + c] = uint8_t(float(image.pixels[i + c]) * a);
    }
}

}  // namespace vorn::platform
