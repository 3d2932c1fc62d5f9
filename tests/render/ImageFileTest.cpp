#include "render/ImageFile.h"

#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn::render;
using vorn::test::TempDir;

TEST(LoadImageFile, PremultiplyScalesColourByAlphaAndTruncatesButLeavesRgbAlone) {
    TempDir dir;
    // Row 0 (top): half-transparent orange, opaque white; row 1: invisible white, alpha 51 grey.
    const std::vector<uint8_t> rgba = {200, 100, 50, 128, 255, 255, 255, 255, 255, 255, 255, 0, 100, 100, 100, 51};
    const std::vector<uint8_t> rgb = {200, 100, 50, 1, 2, 3, 40, 50, 60};
    std::string rgbaPath = dir.write("rgba.png", vorn::platform::encodePng(2, 2, 4, rgba.data()).value());
    std::string rgbPath = dir.write("rgb.png", vorn::platform::encodePng(3, 1, 3, rgb.data()).value());

    LoadedImage straight = LoadImageFile(rgbaPath, false);
    EXPECT_EQ(straight.width, 2);
    EXPECT_EQ(straight.channels, 4);
    EXPECT_EQ(straight.pixels, rgba);
    // 200 x 128/255 = 100.4, 100 x 128/255 = 50.2, 50 x 128/255 = 25.1; 100 x 51/255 = 20.
    EXPECT_EQ(LoadImageFile(rgbaPath, true).pixels,
              (std::vector<uint8_t>{100, 50, 25, 128, 255, 255, 255, 255, 0, 0, 0, 0, 20, 20, 20, 51}));
    LoadedImage three = LoadImageFile(rgbPath, true);
    EXPECT_EQ(three.channels, 3);
    EXPECT_EQ(three.pixels, rgb);
}

TEST(LoadImageFile, GreyMissingAndDamagedFilesYieldNoImage) {
    TempDir dir;
    std::vector<uint8_t> grey(8 * 8 * 3, 128);
    std::vector<uint8_t> cut = vorn::platform::encodePng(8, 8, 3, grey.data()).value();
    cut.resize(cut.size() / 2);
    const std::string paths[] = {dir.write("grey.jpg", vorn::platform::encodeJpeg(8, 8, 1, grey.data(), 90).value()),
                                 dir.file("absent.png"), dir.write("cut.png", cut)};
    for (const std::string& path : paths) {
        vorn::platform::DebugCapture capture;
        LoadedImage image = LoadImageFile(path, true);
        EXPECT_EQ(image.width, 0) << path;
        EXPECT_EQ(image.channels, 0) << path;
        EXPECT_TRUE(image.pixels.empty()) << path;
        EXPECT_EQ(std::count(capture.text().begin(), capture.text().end(), '\n'), 1) << capture.text();
    }
}
