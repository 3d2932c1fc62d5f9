#include "render/ImageFile.h"

#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn::render;
using vorn::platform::DebugCapture;
using vorn::test::TempDir;

namespace {

std::string writePng(const TempDir& dir, const char* name, int width, int height, int channels,
                     const std::vector<uint8_t>& pixels) {
    auto bytes = vorn::platform::encodePng(width, height, channels, pixels.data());
    EXPECT_TRUE(bytes.has_value());
    return dir.write(name, bytes.value_or(std::vector<uint8_t>{}));
}

void expectNoImage(const LoadedImage& image) {
    EXPECT_EQ(image.width, 0);
    EXPECT_EQ(image.height, 0);
    EXPECT_EQ(image.channels, 0);
    EXPECT_TRUE(image.pixels.empty());
}

}  // namespace

TEST(LoadImageFilePremultiply, ScalesColourByAlphaAndTruncates) {
    TempDir dir;
    // Row 0 (top): half-transparent orange, opaque white; row 1: invisible white, alpha 51 grey.
    const std::vector<uint8_t> pixels = {200, 100, 50, 128, 255, 255, 255, 255,
                                         255, 255, 255, 0,  100, 100, 100, 51};
    std::string path = writePng(dir, "rgba.png", 2, 2, 4, pixels);

    LoadedImage straight = LoadImageFile(path, false);
    EXPECT_EQ(straight.width, 2);
    EXPECT_EQ(straight.height, 2);
    EXPECT_EQ(straight.channels, 4);
    EXPECT_EQ(straight.pixels, pixels);

    // 200 * 128/255 = 100.4, 100 * 128/255 = 50.2, 50 * 128/255 = 25.1; 100 * 51/255 = 20.
    LoadedImage premultiplied = LoadImageFile(path, true);
    EXPECT_EQ(premultiplied.pixels, (std::vector<uint8_t>{100, 50, 25, 128, 255, 255, 255, 255,
                                                           0, 0, 0, 0, 20, 20, 20, 51}));
}

TEST(LoadImageFilePremultiply, LeavesThreeChannelPicturesAlone) {
    TempDir dir;
    const std::vector<uint8_t> pixels = {200, 100, 50, 1, 2, 3, 40, 50, 60};
    std::string path = writePng(dir, "rgb.png", 3, 1, 3, pixels);
    LoadedImage image = LoadImageFile(path, true);
    EXPECT_EQ(image.channels, 3);
    EXPECT_EQ(image.width, 3);
    EXPECT_EQ(image.pixels, pixels);
}

TEST(LoadImageFileFailure, GreyPicturesYieldNoImageAndOneLine) {
    TempDir dir;
    std::vector<uint8_t> grey(8 * 8, 128);
    auto jpeg = vorn::platform::encodeJpeg(8, 8, 1, grey.data(), 90);
    ASSERT_TRUE(jpeg.has_value());
    std::string path = dir.write("grey.jpg", *jpeg);

    DebugCapture capture;
    expectNoImage(LoadImageFile(path, true));
    EXPECT_NE(capture.text().find("grey.jpg"), std::string::npos) << capture.text();
    EXPECT_EQ(std::count(capture.text().begin(), capture.text().end(), '\n'), 1);
}

TEST(LoadImageFileFailure, MissingAndDamagedFilesYieldNoImage) {
    TempDir dir;
    expectNoImage(LoadImageFile(dir.file("absent.png"), false));

    const std::vector<uint8_t> pixels(4 * 4 * 3, 77);
    auto png = vorn::platform::encodePng(4, 4, 3, pixels.data());
    ASSERT_TRUE(png.has_value());
    png->resize(png->size() / 2);
    expectNoImage(LoadImageFile(dir.write("cut.png", *png), false));
}
