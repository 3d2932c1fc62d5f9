#include "render/GL_MemTexture.h"

#include "platform/Debug.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace vorn::render;

class MemTexture : public vorn::test::GlTest {};

TEST_F(MemTexture, EachUploadLogsTheTotalOfTheLevelZeroSizesSoFar) {
    std::vector<uint8_t> rgb(640 * 480 * 3, 0x80), rgba(100 * 100 * 4, 0x80);
    const double before = textureMemoryConsumed();
    vorn::platform::DebugCapture capture;
    GL_MemTexture first(640, 480, GL_RGB, GL_REPEAT, GL_REPEAT, rgb.data());
    GL_MemTexture second(100, 100, GL_RGBA, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, rgba.data());
    char expected[160];
    // 640 x 480 x 3 = 921600 bytes, then 100 x 100 x 4 = 40000, in MiB.
    std::snprintf(expected, sizeof expected,
                  "Texture Memory Consumed (non MM): %.2fMb\nTexture Memory Consumed (non MM): %.2fMb\n",
                  before + 921600.0 / 1048576.0, before + 961600.0 / 1048576.0);
    EXPECT_EQ(capture.text(), expected);
}

TEST_F(MemTexture, OddWidthRgbRowsArriveIntactWhateverTheUnpackAlignment) {
    // 3 x 2 RGB: 9-byte rows, not a multiple of the default 4-byte alignment.
    const std::vector<uint8_t> pixels = {10, 20, 30, 40, 50, 60, 70, 80, 90,
                                         100, 110, 120, 130, 140, 150, 160, 170, 180};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    GL_MemTexture texture(3, 2, GL_RGB, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, pixels.data());
    std::vector<uint8_t> stored(pixels.size());
    glBindTexture(GL_TEXTURE_2D, texture.textures[0]);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glGetTexImage(GL_TEXTURE_2D, 0, GL_RGB, GL_UNSIGNED_BYTE, stored.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    EXPECT_EQ(stored, pixels);  // row 0 first, as given
}
