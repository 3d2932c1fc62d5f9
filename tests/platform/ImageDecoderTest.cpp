#include "platform/ImageDecoder.h"

#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <zlib.h>

#include <algorithm>

namespace vorn::platform {
namespace {

// PNG files put together chunk by chunk (zlib for the checksums and the
// deflate stream), so any layout, valid or not, can be written without the
// encoder under test.
struct PngLayout {
    uint32_t width = 1;
    uint32_t height = 1;
    uint8_t bitDepth = 8;
    uint8_t colourType = 2;         // 0 grey, 2 RGB, 3 palette, 4 grey+alpha, 6 RGBA
    std::vector<uint8_t> rows;      // the scanlines without filter bytes, top row first
    uint8_t interlace = 0;          // 1: Adam7; then give the filtered data of every pass below
    std::vector<uint8_t> filtered;  // when not empty: the image data as stored, filter bytes included
    std::vector<std::pair<std::string, std::vector<uint8_t>>> extraChunks;  // type and data, before IDAT
};

void putBigEndian(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(uint8_t(value >> shift));
}

void putChunk(std::vector<uint8_t>& out, const std::string& type, const std::vector<uint8_t>& data) {
    putBigEndian(out, uint32_t(data.size()));
    std::size_t start = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    putBigEndian(out, uint32_t(crc32(0, out.data() + start, uInt(out.size() - start))));
}

std::vector<uint8_t> makePng(const PngLayout& layout) {
    std::vector<uint8_t> out = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    std::vector<uint8_t> header;
    putBigEndian(header, layout.width);
    putBigEndian(header, layout.height);
    header.insert(header.end(), {layout.bitDepth, layout.colourType, 0, 0, layout.interlace});
    putChunk(out, "IHDR", header);
    for (const auto& [type, data] : layout.extraChunks) putChunk(out, type, data);

    std::vector<uint8_t> raw = layout.filtered;
    const std::size_t rowBytes = layout.rows.size() / layout.height;
    for (std::size_t at = 0; layout.filtered.empty() && at < layout.rows.size(); at += rowBytes) {
        raw.push_back(0);  // filter: none
        raw.insert(raw.end(), layout.rows.begin() + long(at), layout.rows.begin() + long(at + rowBytes));
    }
    std::vector<uint8_t> packed(compressBound(uLong(raw.size())));
    uLongf packedSize = packed.size();
    compress(packed.data(), &packedSize, raw.data(), uLong(raw.size()));
    packed.resize(packedSize);
    putChunk(out, "IDAT", packed);
    putChunk(out, "IEND", {});
    return out;
}

std::optional<DecodedImage> decode(const std::vector<uint8_t>& bytes, std::string* whyNot = nullptr,
                                   const ImageLimits& limits = {}) {
    return decodeImage(bytes.data(), bytes.size(), whyNot, limits);
}

// 3 x 2 RGB, every byte different, so a swapped channel, row or column shows.
const std::vector<uint8_t> kRgbRows = {10, 20, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180};
const PngLayout kRgbPng{.width = 3, .height = 2, .colourType = 2, .rows = kRgbRows};

std::vector<uint8_t> gradient(int width, int height) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.insert(pixels.end(), {uint8_t(x * 4), uint8_t(y * 5), uint8_t(128 + x - y)});
    return pixels;
}

TEST(PngDecoding, EightBitRgbAndStraightRgbaDecodeExactlyTopRowFirstWhateverTheChunksBeside) {
    // A fully transparent pixel keeps its colour: premultiplying is the caller's choice.
    const std::vector<uint8_t> rgba = {255, 128, 0, 0, 1, 2, 3, 255, 200, 100, 50, 128, 9, 8, 7, 6};
    // Adam7 on 2 x 2: pass 1 holds (0,0), pass 6 holds (1,0), pass 7 the bottom row.
    const std::vector<uint8_t> adam7 = {0, 1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12};
    PngLayout withChunks = kRgbPng;
    withChunks.extraChunks = {{"gAMA", {0, 0, 0xB1, 0x8F}}, {"tEXt", {'C', 'o', 'm', 0, 'h', 'i'}}, {"vpAg", {1, 2}}};
    struct Case {
        const char* what;
        PngLayout layout;
        int width, channels;
        std::vector<uint8_t> pixels;
    };
    const Case cases[] = {
        {"RGB", kRgbPng, 3, 3, kRgbRows},
        {"RGBA", {.width = 2, .height = 2, .colourType = 6, .rows = rgba}, 2, 4, rgba},
        {"interlaced", {.width = 2, .height = 2, .interlace = 1, .filtered = adam7}, 2, 3,
         {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}},
        {"gamma, text and unknown chunks", withChunks, 3, 3, kRgbRows},
    };
    for (const Case& c : cases) {
        auto image = decode(makePng(c.layout));
        ASSERT_TRUE(image) << c.what;
        EXPECT_EQ(image->width, c.width) << c.what;
        EXPECT_EQ(image->channels, c.channels) << c.what;
        EXPECT_EQ(image->pixels, c.pixels) << c.what;
    }
}

TEST(Premultiplying, ColourTimesAlphaIsTruncatedAndThreeChannelPicturesAreLeftAlone) {
    // x 128/255: 200 -> 100.4, 3 -> 1.51, 1 -> 0.50; x 51/255: 100 -> 20; invisible white -> black.
    DecodedImage rgba{2, 2, 4, {200, 3, 1, 128, 255, 255, 255, 255, 255, 255, 255, 0, 100, 100, 100, 51}};
    premultiplyAlpha(rgba);
    EXPECT_EQ(rgba.pixels, (std::vector<uint8_t>{100, 1, 0, 128, 255, 255, 255, 255, 0, 0, 0, 0, 20, 20, 20, 51}));
    DecodedImage rgb{3, 2, 3, kRgbRows};
    premultiplyAlpha(rgb);
    EXPECT_EQ(rgb.pixels, kRgbRows);
}

TEST(PngDecoding, TruncatedDamagedOrOverLimitFilesYieldNothing) {
    std::vector<uint8_t> rows(16 * 16 * 3);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(i * 7);
    auto png = makePng({.width = 16, .height = 16, .colourType = 2, .rows = rows});
    for (std::size_t cut = 0; cut < png.size() - 12; ++cut)  // the 12-byte IEND chunk follows the pixels
        EXPECT_FALSE(decode({png.begin(), png.begin() + long(cut)})) << "cut at " << cut;
    png[png.size() - 17] ^= 0x40;  // the last byte of IDAT: its checksum no longer matches
    EXPECT_FALSE(decode(png));

    const ImageLimits fourWide{.maxDimension = 4, .maxPixelBytes = 64};
    const ImageLimits elevenBytes{.maxDimension = 100, .maxPixelBytes = 11};
    const std::vector<uint8_t> twelve(12, 9), fifteen(15, 9);
    EXPECT_TRUE(decode(makePng({.width = 4, .rows = twelve}), nullptr, fourWide));
    EXPECT_FALSE(decode(makePng({.width = 5, .rows = fifteen}), nullptr, fourWide));
    EXPECT_FALSE(decode(makePng({.width = 4, .rows = twelve}), nullptr, elevenBytes));
}

TEST(JpegDecoding, ColourDecodesWithinCompressionToleranceAndACutFileYieldsNothing) {
    const auto original = gradient(64, 48);
    auto jpeg = encodeJpeg(64, 48, 3, original.data(), 95);
    ASSERT_TRUE(jpeg);
    auto image = decode(*jpeg);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 64);
    EXPECT_EQ(image->channels, 3);
    ASSERT_EQ(image->pixels.size(), original.size());
    for (std::size_t i = 0; i < original.size(); ++i) ASSERT_NEAR(image->pixels[i], original[i], 8) << i;
    for (std::size_t cut : {std::size_t(3), std::size_t(100), jpeg->size() / 2, jpeg->size() - 40})
        EXPECT_FALSE(decode({jpeg->begin(), jpeg->begin() + long(cut)})) << "cut at " << cut;
}

// Peak resident memory of a child that decodes the bytes, in KiB; measured in
// a child so that the test process's own peak does not hide it.
long peakKiB(const std::vector<uint8_t>& bytes) {
    pid_t child = ::fork();
    if (child == 0) {
        (void)decodeImage(bytes.data(), bytes.size());
        ::_exit(0);
    }
    int status = 0;
    struct rusage usage {};
    if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) return -1;
    return usage.ru_maxrss;
}

// A one-pixel PNG with, after its header, a chunk that declares 512 MiB and holds 8 bytes.
std::vector<uint8_t> pngWithLongChunk(const char* type) {
    std::vector<uint8_t> png = makePng({.rows = {1, 2, 3}});
    std::vector<uint8_t> chunk = {0x20, 0, 0, 0};
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), {'k', 'e', 'y', 0, 0, 0, 0, 0});
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());  // 8 signature + 25 IHDR bytes
    return png;
}

// A 16 x 16 JPEG whose frame header (FF C0, length, precision, height, width) claims 8000 x 8000.
std::vector<uint8_t> jpegClaimingMorePixels() {
    const auto pixels = gradient(16, 16);
    std::vector<uint8_t> jpeg = encodeJpeg(16, 16, 3, pixels.data(), 90).value();
    const uint8_t startOfFrame[] = {0xFF, 0xC0};
    auto frame = std::search(jpeg.begin(), jpeg.end(), std::begin(startOfFrame), std::end(startOfFrame));
    for (int i : {5, 7}) {
        frame[i] = 8000 >> 8;
        frame[i + 1] = 8000 & 0xFF;
    }
    return jpeg;
}

TEST(ImageDecoding, WhatAFileDeclaresButDoesNotHoldCostsNoMemory) {
    auto squareRgba = [](uint32_t side, std::size_t stored) {
        return makePng({.width = side, .height = side, .colourType = 6, .filtered = std::vector<uint8_t>(stored)});
    };
    std::vector<std::pair<std::string, std::vector<uint8_t>>> cases;
    for (const char* type : {"sPLT", "tEXt", "zTXt", "iTXt", "iCCP", "eXIf", "vpAg"})
        cases.emplace_back(std::string("512 MiB ") + type, pngWithLongChunk(type));
    cases.emplace_back("4096 x 4096 RGBA PNG in 1000 bytes", squareRgba(4096, 1000));
    cases.emplace_back("16384 x 16384 RGBA PNG", squareRgba(16384, 1));
    cases.emplace_back("8000 x 8000 JPEG", jpegClaimingMorePixels());

    const long baseline = peakKiB(makePng(kRgbPng));
    ASSERT_GT(baseline, 0);
    for (const auto& [what, bytes] : cases) {
        std::string whyNot;
        EXPECT_FALSE(decode(bytes, &whyNot)) << what;
        const long peak = peakKiB(bytes);
        EXPECT_GT(peak, 0) << what;
        EXPECT_LT(peak - baseline, 32 << 10) << what << ": " << whyNot;
    }
}

TEST(ImageFile, FailuresAreReportedAsOneShortLineNamingTheResolvedFileAndTheReason) {
    test::TempDir dir;
    std::string fifo = dir.file("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    dir.write("folder.png/x", "x");
    struct Case {
        std::string path;
        std::string reason;
        std::string shown = "";  // when the line shows the path otherwise than written
    } cases[] = {
        {dir.write("grey.png", makePng({.colourType = 0, .rows = {5}})), "greyscale PNG"},
        {dir.write("ga.png", makePng({.colourType = 4, .rows = {5, 6}})), "greyscale PNG"},
        {dir.write("pal.png", makePng({.colourType = 3, .rows = {0}, .extraChunks = {{"PLTE", {255, 0, 0}}}})),
         "palettised PNG"},
        {dir.write("16.png", makePng({.bitDepth = 16, .rows = {1, 2, 3, 4, 5, 6}})), "16-bit PNG"},
        {dir.write("16a.png", makePng({.bitDepth = 16, .colourType = 6, .rows = std::vector<uint8_t>(8, 7)})),
         "16-bit PNG"},
        {dir.write("grey.jpg", encodeJpeg(8, 8, 1, gradient(8, 8).data(), 90).value()), "greyscale JPEG"},
        {dir.file("missing.png"), "No such file or directory"},
        {fifo, "is not a regular file"},
        {dir.path() + "\\FOLDER.png", "is a directory", dir.file("folder.png")},
        {"/dev/zero", "is not a regular file"},
        {dir.file(std::string(5000, 'n') + ".png"), "File name too long", dir.path()},
    };
    for (const Case& c : cases) {
        DebugCapture capture;
        EXPECT_FALSE(decodeImageFile(c.path));
        EXPECT_TRUE(capture.contains(c.shown.empty() ? c.path : c.shown)) << capture.text();
        EXPECT_TRUE(capture.contains(c.reason)) << capture.text();
        EXPECT_EQ(capture.text().find('\n'), capture.text().size() - 1) << capture.text();
        EXPECT_LT(capture.text().size(), 300u);
    }
}

}  // namespace
}  // namespace vorn::platform
