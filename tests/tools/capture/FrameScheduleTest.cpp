#include "tools/capture/FrameSchedule.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using capture::FrameSchedule;

TEST(FrameSchedule, CountsTheFramesFromFromUpToButNotIncludingTo) {
    EXPECT_EQ(FrameSchedule(0, 10, 60).frameCount(), 600);
    EXPECT_EQ(FrameSchedule(0, 0.5, 4).frameCount(), 2);     // 0, 0.25
    EXPECT_EQ(FrameSchedule(0, 0.51, 4).frameCount(), 3);    // 0, 0.25, 0.5
    EXPECT_EQ(FrameSchedule(1, 1.1, 30).frameCount(), 3);    // 1, 1.0333, 1.0667
    EXPECT_EQ(FrameSchedule(0.75, 0.8, 30).frameCount(), 2); // 0.75, 0.7833
    EXPECT_EQ(FrameSchedule(0, 0.001, 60).frameCount(), 1);
    EXPECT_EQ(FrameSchedule(2, 1, 60).frameCount(), 0);
}

TEST(FrameSchedule, ThreeTenthsOfASecondAreCountedExactly) {
    // 0.3 * 10 is 3.0000000000000004 in doubles: still three frames.
    FrameSchedule schedule(0, 0.3, 10);
    EXPECT_EQ(schedule.frameCount(), 3);
    EXPECT_DOUBLE_EQ(schedule.frameTime(2), 0.2);
}

TEST(FrameSchedule, TimesAreWholeMillisecondsRoundedToTheNearest) {
    FrameSchedule schedule(0, 1, 60);
    EXPECT_EQ(schedule.frameTimeMs(0), 0u);
    EXPECT_EQ(schedule.frameTimeMs(1), 17u);  // 16.667
    EXPECT_EQ(schedule.frameTimeMs(6), 100u); // 99.99999 in doubles
    FrameSchedule late(3.5, 4, 30);
    EXPECT_EQ(late.frameTimeMs(0), 3500u);
    EXPECT_EQ(late.frameTimeMs(3), 3600u);
}

}  // namespace
}  // namespace vorn::test
