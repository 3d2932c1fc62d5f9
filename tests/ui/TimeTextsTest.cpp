#include "ui/TimeTexts.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

TEST(TimeTexts, ClockShowsMinutesSecondsAndMilliseconds) {
    EXPECT_EQ(ui::timeText(75.25f), "01:15:250");
    EXPECT_EQ(ui::timeText(0.0f), "00:00:000");
    EXPECT_EQ(ui::timeText(3599.5f), "59:59:500");
}

TEST(TimeTexts, FrameTimeShowsMillisecondsAndRateOrNoData) {
    EXPECT_EQ(ui::frameTimeText(0.0f), "no FPS data");
    EXPECT_EQ(ui::frameTimeText(0.00009f), "no FPS data");
    EXPECT_EQ(ui::frameTimeText(0.02f), "20ms (50)");
    EXPECT_EQ(ui::frameTimeText(0.125f), "125ms (8)");
}

}  // namespace
}  // namespace vorn::test
