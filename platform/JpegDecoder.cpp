// JPEG through the TurboJPEG interface of libjpeg-turbo. Only colour JPEGs
// (YCbCr or RGB) are read; greyscale and CMYK files are refused. Warnings, as
// a truncated file raises, count as failures.
#include "platform/ImageFormats.h"

#include <turbojpeg.h>

#include <memory>
#include <string>

namespace vorn::platform::detail {

namespace {

struct HandleDeleter {
    void operator()(void* handle) const { tjDestroy(handle); }
};

// Huffman codes are at least one bit long and every 8x8 block of every
// component carries at least its DC code: with the widest sampling a JPEG
// allows (4x4 luma, 1x1 chroma: 18 blocks per 32x32 pixels) that is one bit
// per 171 bytes of RGB output, about 1365 bytes per byte of file. A header
// announcing more than this (with margin) is refused before the picture is
// allocated, as the PNG decoder refuses what no deflate stream could hold.
constexpr unsigned long long kMaxHuffmanRatio = 2048;

// Arithmetic coding can spend less than a bit on a block, so the bound above
// does not hold for it. Walks the segments before the first scan to the frame
// header: SOF9 and above are arithmetic-coded.
bool arithmeticCoded(const uint8_t* data, std::size_t size) {
    std::size_t pos = 2;  // after the start-of-image marker
    while (pos + 4 <= size && data[pos] == 0xFF) {
        uint8_t marker = data[pos + 1];
        if (marker == 0xFF) {  // fill byte
            ++pos;
            continue;
        }
        bool frameHeader = marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
        if (frameHeader) return marker >= 0xC9;
        if (marker == 0xDA || marker == 0xD9) return false;  // a scan or the end before any frame
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8)) {  // markers without a length
            pos += 2;
            continue;
        }
        pos += 2 + ((std::size_t(data[pos + 2]) << 8) | data[pos + 3]);
    }
    return false;
}

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
    if ((unsigned long long)width * (unsigned long long)height * 3 > size * kMaxHuffmanRatio &&
        !arithmeticCoded(data, size)) {
        *whyNot = "truncated JPEG (" + std::to_string(width) + "x" + std::to_string(height) + " pixels in " +
                  std::to_string(size) + " bytes)";
        return std::nullopt;
    }

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
