#include "platform/ImageEncoder.h"

#include "platform/Debug.h"
#include "platform/Paths.h"

#include <png.h>
#include <turbojpeg.h>

#include <memory>
#include <string>

namespace vorn::platform {

namespace {

struct PngWrite {
    std::vector<uint8_t> bytes;
    std::vector<png_const_bytep> rows;
    png_structp png = nullptr;
    png_infop info = nullptr;

    ~PngWrite() { png_destroy_write_struct(&png, info ? &info : nullptr); }
};

void onError(png_structp png, png_const_charp) { png_longjmp(png, 1); }
void onWarning(png_structp, png_const_charp) {}

void appendBytes(png_structp png, png_bytep data, png_size_t length) {
    auto* write = static_cast<PngWrite*>(png_get_io_ptr(png));
    write->bytes.insert(write->bytes.end(), data, data + length);
}

void flushNothing(png_structp) {}

bool sizeAllowed(int width, int height) {
    return width > 0 && height > 0 && width <= 65535 && height <= 65535;
}

}  // namespace

std::optional<std::vector<uint8_t>> encodePng(int width, int height, int channels, const uint8_t* pixels) {
    if (!sizeAllowed(width, height) || (channels != 3 && channels != 4) || !pixels) return std::nullopt;
    auto write = std::make_unique<PngWrite>();
    PngWrite* w = write.get();
    w->png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, onError, onWarning);
    if (!w->png) return std::nullopt;
    w->info = png_create_info_struct(w->png);
    if (!w->info) return std::nullopt;
    std::size_t stride = std::size_t(width) * std::size_t(channels);
    w->rows.resize(std::size_t(height));
    for (int y = 0; y < height; ++y) w->rows[std::size_t(y)] = pixels + std::size_t(y) * stride;

    if (setjmp(png_jmpbuf(w->png))) return std::nullopt;
    png_set_write_fn(w->png, w, appendBytes, flushNothing);
    png_set_IHDR(w->png, w->info, png_uint_32(width), png_uint_32(height), 8,
                 channels == 3 ? PNG_COLOR_TYPE_RGB : PNG_COLOR_TYPE_RGB_ALPHA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_compression_level(w->png, 3);  // frames are written by the hundred: speed over size
    png_write_info(w->png, w->info);
    png_write_image(w->png, const_cast<png_bytepp>(w->rows.data()));
    png_write_end(w->png, nullptr);
    return std::move(w->bytes);
}

bool writePngFile(std::string_view path, int width, int height, int channels, const uint8_t* pixels) {
    auto bytes = encodePng(width, height, channels, pixels);
    if (!bytes) {
        debugLine("cannot encode " + std::string(path) + " as PNG");
        return false;
    }
    std::string whyNot;
    if (writeFile(path, *bytes, &whyNot)) return true;
    debugLine("cannot write " + displayPath(path) + ": " + whyNot);
    return false;
}

std::optional<std::vector<uint8_t>> encodeJpeg(int width, int height, int channels, const uint8_t* pixels,
                                               int quality) {
    if (!sizeAllowed(width, height) || (channels != 1 && channels != 3) || !pixels || quality < 1 || quality > 100)
        return std::nullopt;
    std::unique_ptr<void, decltype(&tjDestroy)> handle(tjInitCompress(), &tjDestroy);
    if (!handle) return std::nullopt;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    int result = tjCompress2(handle.get(), pixels, width, width * channels, height, channels == 1 ? TJPF_GRAY : TJPF_RGB,
                             &buffer, &size, channels == 1 ? TJSAMP_GRAY : TJSAMP_444, quality, 0);
    std::optional<std::vector<uint8_t>> bytes;
    if (result == 0) bytes.emplace(buffer, buffer + size);
    tjFree(buffer);
    return bytes;
}

}  // namespace vorn::platform
