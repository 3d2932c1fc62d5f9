#include "platform/ImageEncoder.h"

#include "platform/ImageDecoder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace vorn::platform {
namespace {

uint32_t bigEndian32(const std::vector<uint8_t>& bytes, std::size_t at) {
    return uint32_t(bytes[at]) << 24 | uint32_t(bytes[at + 1]) << 16 | uint32_t(bytes[at + 2]) << 8 | bytes[at + 3];
}

std::vector<uint8_t> pattern(std::size_t size) {
    std::vector<uint8_t> bytes(size);
    for (std::size_t i = 0; i < size; ++i) bytes[i] = uint8_t(i * 37 + 11);
    return bytes;
}

TEST(PngEncoding, WritesEightBitRgbAndRgbaThatDecodeToTheSamePixels) {
    for (int channels : {3, 4}) {
        const int width = 5, height = 3;
        auto pixels = pattern(std::size_t(width * height * channels));
        auto png = encodePng(width, height, channels, pixels.data());
        ASSERT_TRUE(png);
        // Header fields read straight from the bytes: signature, IHDR size, depth 8, colour type 2 or 6.
        ASSERT_GT(png->size(), 33u);
        EXPECT_EQ(std::vector<uint8_t>(png->begin(), png->begin() + 8),
                  (std::vector<uint8_t>{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'}));
        EXPECT_EQ(bigEndian32(*png, 16), uint32_t(width));
        EXPECT_EQ(bigEndian32(*png, 20), uint32_t(height));
        EXPECT_EQ((*png)[24], 8);
        EXPECT_EQ((*png)[25], channels == 3 ? 2 : 6);

        auto image = decodeImage(png->data(), png->size());
        ASSERT_TRUE(image);
        EXPECT_EQ(image->channels, channels);
        EXPECT_EQ(image->pixels, pixels);
    }
}

TEST(PngEncoding, RefusesLayoutsItCannotWrite) {
    auto pixels = pattern(64);
    EXPECT_FALSE(encodePng(2, 2, 2, pixels.data()));
    EXPECT_FALSE(encodePng(0, 2, 3, pixels.data()));
    EXPECT_FALSE(encodePng(2, 2, 3, nullptr));
}

TEST(PngEncoding, WritesFilesThroughPathResolution) {
    test::TempDir dir;
    dir.write("Frames/keep", "");
    auto pixels = pattern(2 * 2 * 3);
    ASSERT_TRUE(writePngFile(dir.path() + "\\frames\\frame0001.png", 2, 2, 3, pixels.data()));
    auto bytes = test::readBytes(dir.file("Frames/frame0001.png"));
    auto image = decodeImage(bytes.data(), bytes.size());
    ASSERT_TRUE(image);
    EXPECT_EQ(image->pixels, pixels);
    EXPECT_FALSE(writePngFile(dir.path() + "/no-such-folder/frame.png", 2, 2, 3, pixels.data()));
}

TEST(JpegEncoding, WritesColourAndGreyJpegs) {
    auto pixels = pattern(8 * 8 * 3);
    auto colour = encodeJpeg(8, 8, 3, pixels.data(), 80);
    ASSERT_TRUE(colour);
    EXPECT_EQ(std::vector<uint8_t>(colour->begin(), colour->begin() + 3), (std::vector<uint8_t>{0xFF, 0xD8, 0xFF}));
    EXPECT_TRUE(encodeJpeg(8, 8, 1, pixels.data(), 80));
    EXPECT_FALSE(encodeJpeg(8, 8, 4, pixels.data(), 80));
    EXPECT_FALSE(encodeJpeg(8, 8, 3, pixels.data(), 0));
}

}  // namespace
}  // namespace vorn::platform
