// PNG through libpng. libpng reports errors by longjmp, so everything that
// must be freed lives in one heap record created before setjmp; nothing with
// a destructor is constructed between setjmp and the calls that can jump.
#include "platform/ImageFormats.h"

#include <png.h>

#include <cstring>
#include <memory>

namespace vorn::platform::detail {

namespace {

// The most a deflate stream can expand (1032:1); a header announcing more
// pixel data than the file could hold is refused before allocating.
constexpr unsigned long long kMaxDeflateRatio = 1032;

struct PngRead {
    const uint8_t* data = nullptr;
    std::size_t size = 0;
    std::size_t position = 0;
    std::string error;
    DecodedImage image;
    std::vector<png_bytep> rows;
    png_structp png = nullptr;
    png_infop info = nullptr;

    ~PngRead() { png_destroy_read_struct(&png, info ? &info : nullptr, nullptr); }
};

void onError(png_structp png, png_const_charp message) {
    auto* read = static_cast<PngRead*>(png_get_error_ptr(png));
    if (read->error.empty()) read->error = message ? message : "damaged PNG";
    png_longjmp(png, 1);
}

void onWarning(png_structp, png_const_charp) {}  // recoverable; the image still decodes

void readBytes(png_structp png, png_bytep out, png_size_t length) {
    auto* read = static_cast<PngRead*>(png_get_io_ptr(png));
    if (length > read->size - read->position) {
        read->error = "truncated PNG";
        png_longjmp(png, 1);
    }
    std::memcpy(out, read->data + read->position, length);
    read->position += length;
}

}  // namespace

bool isPng(const uint8_t* data, std::size_t size) { return size >= 8 && png_sig_cmp(data, 0, 8) == 0; }

std::optional<DecodedImage> decodePng(const uint8_t* data, std::size_t size, std::string* whyNot,
                                      const ImageLimits& limits) {
    auto read = std::make_unique<PngRead>();
    read->data = data;
    read->size = size;
    read->png = png_create_read_struct(PNG_LIBPNG_VER_STRING, read.get(), onError, onWarning);
    if (!read->png) {
        *whyNot = "out of memory";
        return std::nullopt;
    }
    read->info = png_create_info_struct(read->png);
    if (!read->info) {
        *whyNot = "out of memory";
        return std::nullopt;
    }

    PngRead* r = read.get();  // not changed after setjmp
    if (setjmp(png_jmpbuf(r->png))) {
        *whyNot = r->error.empty() ? "damaged PNG" : r->error;
        return std::nullopt;
    }

    png_set_read_fn(r->png, r, readBytes);
    png_set_user_limits(r->png, png_uint_32(limits.maxDimension), png_uint_32(limits.maxDimension));
    // Only IHDR, PLTE, tRNS and IDAT make the pixels. Every other chunk (text,
    // colour profiles, suggested palettes, unknown ones) is stepped over
    // unread: the library would otherwise reserve and clear whatever length
    // such a chunk declares (only warning that it is too large) before
    // finding that the file does not hold it. What decoding allocates is then
    // the picture (checked below) plus the library's fixed row and inflate state.
    png_set_keep_unknown_chunks(r->png, PNG_HANDLE_CHUNK_NEVER, nullptr, -1);
    png_set_chunk_malloc_max(r->png, 8u << 20);
    png_set_chunk_cache_max(r->png, 1000);
    png_read_info(r->png, r->info);

    png_uint_32 width = 0, height = 0;
    int bitDepth = 0, colourType = 0, interlace = 0;
    png_get_IHDR(r->png, r->info, &width, &height, &bitDepth, &colourType, &interlace, nullptr, nullptr);
    int channels = colourType == PNG_COLOR_TYPE_RGB ? 3 : colourType == PNG_COLOR_TYPE_RGB_ALPHA ? 4 : 0;
    if (channels == 0) {
        r->error = colourType == PNG_COLOR_TYPE_PALETTE ? "palettised PNG (only 8-bit RGB or RGBA is read)"
                                                        : "greyscale PNG (only 8-bit RGB or RGBA is read)";
        png_longjmp(r->png, 1);
    }
    if (bitDepth != 8) {
        r->error = std::to_string(bitDepth) + "-bit PNG (only 8-bit RGB or RGBA is read)";
        png_longjmp(r->png, 1);
    }
    if (!dimensionsAllowed(width, height, channels, limits, &r->error)) png_longjmp(r->png, 1);
    unsigned long long rowBytes = (unsigned long long)width * unsigned(channels);
    if ((rowBytes + 1) * height > (unsigned long long)size * kMaxDeflateRatio) {
        r->error = "truncated PNG";
        png_longjmp(r->png, 1);
    }

    png_set_interlace_handling(r->png);
    png_read_update_info(r->png, r->info);
    if (png_get_rowbytes(r->png, r->info) != rowBytes) {
        r->error = "unexpected PNG row layout";
        png_longjmp(r->png, 1);
    }

    r->image.width = int(width);
    r->image.height = int(height);
    r->image.channels = channels;
    r->image.pixels.resize(rowBytes * height);
    r->rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y) r->rows[y] = r->image.pixels.data() + y * rowBytes;
    png_read_image(r->png, r->rows.data());
    // The rest of the file (text chunks, the end marker) adds nothing to the pixels.
    return std::move(r->image);
}

}  // namespace vorn::platform::detail
