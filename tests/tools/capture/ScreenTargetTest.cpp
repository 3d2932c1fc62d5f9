#include "tools/capture/ScreenTarget.h"

#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

class ScreenTargetTest : public GlTest {};

TEST_F(ScreenTargetTest, ReadsTheTopOfTheScreenFirstAsRgb) {
    capture::ScreenTarget screen;
    glBindFramebuffer(GL_FRAMEBUFFER, screen.framebuffer());
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    // GL counts rows from the bottom: rows 1070-1079 are the top ten of the screen.
    glEnable(GL_SCISSOR_TEST);
    glScissor(0, 1070, 1920, 10);
    glClearColor(1, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glDisable(GL_SCISSOR_TEST);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    std::vector<uint8_t> pixels;
    screen.readRgb(pixels);
    ASSERT_EQ(pixels.size(), std::size_t(1920) * 1080 * 3);
    auto at = [&](int x, int y) {
        const uint8_t* p = &pixels[(std::size_t(y) * 1920 + x) * 3];
        return std::vector<int>{p[0], p[1], p[2]};
    };
    EXPECT_EQ(at(0, 0), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(at(1919, 9), (std::vector<int>{255, 0, 0}));
    EXPECT_EQ(at(5, 10), (std::vector<int>{0, 0, 255}));
    EXPECT_EQ(at(5, 1079), (std::vector<int>{0, 0, 255}));
}

}  // namespace
}  // namespace vorn::test
