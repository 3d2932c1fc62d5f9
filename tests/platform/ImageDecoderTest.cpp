#include "platform/ImageDecoder.h"

#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "tests/platform/PngBytes.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace vorn::platform {
namespace {

using test::makePng;
using test::PngLayout;

std::optional<DecodedImage> decode(const std::vector<uint8_t>& bytes, std::string* whyNot = nullptr,
                                   const ImageLimits& limits = {}) {
    return decodeImage(bytes.data(), bytes.size(), whyNot, limits);
}

// 3 x 2 RGB, every byte different, so a swapped channel, row or column shows.
const std::vector<uint8_t> kRgbRows = {
    10, 20, 30, 40, 50, 60, 70, 80, 90,         // top row
    100, 110, 120, 130, 140, 150, 160, 170, 180  // bottom row
};

TEST(PngDecoding, ReadsRgbAndStraightRgbaPixelsExactlyTopRowFirst) {
    // A fully transparent pixel keeps its colour: premultiplying is the caller's choice.
    std::vector<uint8_t> rgba = {255, 128, 0, 0, 1, 2, 3, 255, 200, 100, 50, 128, 9, 8, 7, 6};
    auto rgb = decode(makePng({.width = 3, .height = 2, .colourType = 2, .rows = kRgbRows}));
    auto straight = decode(makePng({.width = 2, .height = 2, .colourType = 6, .rows = rgba}));
    ASSERT_TRUE(rgb && straight);
    EXPECT_EQ(rgb->width, 3);
    EXPECT_EQ(rgb->height, 2);
    EXPECT_EQ(rgb->channels, 3);
    EXPECT_EQ(rgb->pixels, kRgbRows);
    EXPECT_EQ(straight->channels, 4);
    EXPECT_EQ(straight->pixels, rgba);
}

TEST(PngDecoding, ReadsInterlacedImagesInPictureOrder) {
    // Adam7 on 2 x 2: pass 1 holds (0,0), pass 6 holds (1,0), pass 7 the bottom row.
    std::vector<uint8_t> filtered = {0, 1, 2, 3, 0, 4, 5, 6, 0, 7, 8, 9, 10, 11, 12};
    auto image = decode(makePng({.width = 2, .height = 2, .colourType = 2, .interlace = 1, .filtered = filtered}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
}

TEST(PngDecoding, RejectsEveryLayoutButEightBitRgbAndRgba) {
    struct Case {
        const char* what;
        PngLayout layout;
    };
    const Case cases[] = {
        {"grey", {.width = 2, .height = 1, .bitDepth = 8, .colourType = 0, .rows = {1, 2}}},
        {"grey+alpha", {.width = 1, .height = 1, .bitDepth = 8, .colourType = 4, .rows = {1, 2}}},
        {"palette", {.width = 2, .height = 1, .bitDepth = 8, .colourType = 3, .rows = {0, 1},
                     .palette = {255, 0, 0, 0, 255, 0}}},
        {"16-bit RGB", {.width = 1, .height = 1, .bitDepth = 16, .colourType = 2, .rows = {1, 2, 3, 4, 5, 6}}},
        {"16-bit RGBA", {.width = 1, .height = 1, .bitDepth = 16, .colourType = 6, .rows = std::vector<uint8_t>(8, 7)}},
    };
    for (const auto& c : cases) {
        // The same bytes as a valid image apart from the layout: the layout alone decides.
        std::string whyNot;
        EXPECT_FALSE(decode(makePng(c.layout), &whyNot)) << c.what;
        EXPECT_FALSE(whyNot.empty()) << c.what;
    }
}

TEST(PngDecoding, TruncatedImageDataYieldsNothing) {
    std::vector<uint8_t> rows(16 * 16 * 3);
    for (std::size_t i = 0; i < rows.size(); ++i) rows[i] = uint8_t(i * 7);
    auto png = makePng({.width = 16, .height = 16, .colourType = 2, .rows = rows});
    const std::size_t endOfImageData = png.size() - 12;  // the IEND chunk follows
    for (std::size_t cut = 0; cut < endOfImageData; ++cut) {
        std::vector<uint8_t> part(png.begin(), png.begin() + long(cut));
        EXPECT_FALSE(decode(part)) << "cut at " << cut;
    }
}

TEST(PngDecoding, DamagedImageDataYieldsNothing) {
    auto png = makePng({.width = 3, .height = 2, .colourType = 2, .rows = kRgbRows});
    png[png.size() - 21] ^= 0x40;  // the last pixel byte: IDAT's checksum no longer matches
    EXPECT_FALSE(decode(png));
}

TEST(PngDecoding, SizesBeyondTheLimitsAreRefusedBeforeDecoding) {
    // A header claiming far more pixels than the file holds.
    PngLayout huge{.width = 16384, .height = 16384, .colourType = 6, .filtered = {0, 0, 0, 0, 0}};
    EXPECT_FALSE(decode(makePng(huge)));
    // Within the size caps, but more than 1 KiB of file could ever inflate to.
    PngLayout unbacked{.width = 4096, .height = 4096, .colourType = 6, .filtered = std::vector<uint8_t>(1000, 0)};
    EXPECT_FALSE(decode(makePng(unbacked)));
    PngLayout tooWide{.width = 16385, .height = 1, .colourType = 2, .filtered = {0, 0, 0, 0}};
    EXPECT_FALSE(decode(makePng(tooWide)));

    ImageLimits small{.maxDimension = 4, .maxPixelBytes = 4 * 4 * 4};
    std::vector<uint8_t> fourWide(4 * 3, 9), fiveWide(5 * 3, 9);
    EXPECT_TRUE(decode(makePng({.width = 4, .height = 1, .colourType = 2, .rows = fourWide}), nullptr, small));
    EXPECT_FALSE(decode(makePng({.width = 5, .height = 1, .colourType = 2, .rows = fiveWide}), nullptr, small));
    ImageLimits fewBytes{.maxDimension = 100, .maxPixelBytes = 11};
    EXPECT_FALSE(decode(makePng({.width = 4, .height = 1, .colourType = 2, .rows = fourWide}), nullptr, fewBytes));
}

// How far the peak resident memory of a child that decodes the bytes rises
// above that of a child decoding a one-pixel PNG, in MiB. Measured in a child
// so that the test process's own peak does not hide it.
long extraPeakMiB(const std::vector<uint8_t>& bytes) {
    auto peakKiB = [](const std::vector<uint8_t>& decoded) -> long {
        pid_t child = ::fork();
        if (child == 0) {
            (void)decodeImage(decoded.data(), decoded.size());
            ::_exit(0);
        }
        int status = 0;
        struct rusage usage {};
        if (child < 0 || ::wait4(child, &status, 0, &usage) != child || !WIFEXITED(status)) return -1;
        return usage.ru_maxrss;
    };
    long baseline = peakKiB(makePng({.width = 1, .height = 1, .colourType = 2, .rows = {1, 2, 3}}));
    long peak = peakKiB(bytes);
    EXPECT_GT(baseline, 0);
    EXPECT_GT(peak, 0);
    return (peak - baseline) / 1024;
}

// A one-pixel PNG with, after its header, a chunk that declares 512 MiB of
// data but holds a few bytes: the decoder must neither reserve nor clear room
// for what the chunk promises.
std::vector<uint8_t> pngWithLongChunk(const char* type) {
    std::vector<uint8_t> png = makePng({.width = 1, .height = 1, .colourType = 2, .rows = {1, 2, 3}});
    std::vector<uint8_t> chunk = {0x20, 0, 0, 0};
    chunk.insert(chunk.end(), type, type + 4);
    chunk.insert(chunk.end(), {'k', 'e', 'y', 0, 0, 0, 0, 0});
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());  // 8 signature + 25 IHDR bytes
    return png;
}

TEST(PngDecoding, ChunksBesideThePixelsCostNoMemoryAndChangeNothing) {
    for (const char* type : {"sPLT", "tEXt", "zTXt", "iTXt", "iCCP", "eXIf", "vpAg"}) {
        std::vector<uint8_t> png = pngWithLongChunk(type);
        std::string whyNot;
        EXPECT_FALSE(decode(png, &whyNot)) << type;
        EXPECT_LT(extraPeakMiB(png), 32) << type << ": " << whyNot;
    }
    // Whole, such chunks are stepped over and the picture decodes as without them.
    std::vector<uint8_t> text = {'C', 'o', 'm', 'm', 'e', 'n', 't', 0, 'h', 'i'};
    auto image = decode(makePng({.width = 3, .height = 2, .colourType = 2, .rows = kRgbRows,
                                 .extraChunks = {{"gAMA", {0, 0, 0xB1, 0x8F}}, {"tEXt", text}, {"vpAg", {1, 2}}}}));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, kRgbRows);
}

std::vector<uint8_t> gradient(int width, int height) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            pixels.insert(pixels.end(), {uint8_t(x * 4), uint8_t(y * 5), uint8_t(128 + (x - y))});
    return pixels;
}

TEST(JpegDecoding, ReadsColourJpegWithinCompressionTolerance) {
    const int width = 64, height = 48;
    auto original = gradient(width, height);
    auto jpeg = encodeJpeg(width, height, 3, original.data(), 95);
    ASSERT_TRUE(jpeg);
    auto image = decode(*jpeg);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, width);
    EXPECT_EQ(image->height, height);
    EXPECT_EQ(image->channels, 3);
    ASSERT_EQ(image->pixels.size(), original.size());
    int worst = 0;
    for (std::size_t i = 0; i < original.size(); ++i)
        worst = std::max(worst, std::abs(int(image->pixels[i]) - int(original[i])));
    EXPECT_LE(worst, 8);
}

TEST(JpegDecoding, TruncatedOrDamagedJpegYieldsNothing) {
    auto original = gradient(64, 48);
    auto jpeg = encodeJpeg(64, 48, 3, original.data(), 90);
    ASSERT_TRUE(jpeg);
    for (std::size_t cut : {std::size_t(3), std::size_t(100), jpeg->size() / 2, jpeg->size() - 40}) {
        std::vector<uint8_t> part(jpeg->begin(), jpeg->begin() + long(cut));
        EXPECT_FALSE(decode(part)) << "cut at " << cut;
    }
}

TEST(JpegDecoding, AHeaderPromisingMorePixelsThanTheFileCanHoldIsRefusedUnallocated) {
    auto original = gradient(16, 16);
    auto jpeg = encodeJpeg(16, 16, 3, original.data(), 90);
    ASSERT_TRUE(jpeg);
    // The frame header (FF C0, length, precision, height, width) now claims 8000 x 8000.
    const uint8_t startOfFrame[] = {0xFF, 0xC0};
    auto frame = std::search(jpeg->begin(), jpeg->end(), std::begin(startOfFrame), std::end(startOfFrame));
    ASSERT_NE(frame, jpeg->end());
    for (int i : {5, 7}) {
        frame[i] = 8000 >> 8;
        frame[i + 1] = 8000 & 0xFF;
    }
    std::string whyNot;
    EXPECT_FALSE(decode(*jpeg, &whyNot));
    EXPECT_LT(extraPeakMiB(*jpeg), 32) << whyNot;
}

TEST(ImageFile, LoadsThroughPathResolution) {
    test::TempDir dir;
    dir.write("Textures/Logo.png", makePng({.width = 3, .height = 2, .colourType = 2, .rows = kRgbRows}));
    auto image = decodeImageFile(dir.path() + "\\textures\\LOGO.PNG");
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, kRgbRows);
}

TEST(ImageFile, FailuresAreReportedAsOneShortLineNamingTheFileAndTheReason) {
    test::TempDir dir;
    std::string fifo = dir.file("pipe.png");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    dir.write("folder.png/x", "x");
    struct Case {
        std::string path;
        std::string shown;  // the path as the line shows it
        std::string reason;
    } cases[] = {
        {dir.write("grey.png", makePng({.width = 1, .height = 1, .colourType = 0, .rows = {5}})),
         dir.file("grey.png"), "greyscale PNG"},
        {dir.file("missing.png"), dir.file("missing.png"), "No such file or directory"},
        {fifo, fifo, "is not a regular file"},
        {dir.path() + "\\folder.png", dir.file("folder.png"), "is a directory"},
        {"/dev/zero", "/dev/zero", "is not a regular file"},
        {dir.file(std::string(5000, 'n') + ".png"), dir.path(), "File name too long"},
    };
    for (const Case& c : cases) {
        DebugCapture capture;
        EXPECT_FALSE(decodeImageFile(c.path));
        EXPECT_TRUE(capture.contains(c.shown)) << capture.text();
        EXPECT_TRUE(capture.contains(c.reason)) << capture.text();
        ASSERT_FALSE(capture.text().empty());
        EXPECT_EQ(capture.text().find('\n'), capture.text().size() - 1) << capture.text();
        EXPECT_LT(capture.text().size(), 300u);
    }
}

}  // namespace
}  // namespace vorn::platform
