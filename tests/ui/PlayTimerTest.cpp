#include "ui/PlayTimer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vorn::test {
namespace {

TEST(PlayTimer, ResetStartsOverAndTicksReportTheTimeSinceThePreviousTick) {
    ui::PlayTimer timer;
    timer.accumulated = 5.0f;
    timer.delta = 2.0f;
    timer.lastElapsed = 7.0f;
    timer.reset(3.0f);
    EXPECT_FLOAT_EQ(timer.base, 3.0f);
    EXPECT_EQ(timer.accumulated, 0.0f);
    EXPECT_EQ(timer.delta, 0.0f);
    EXPECT_EQ(timer.lastElapsed, 0.0f);
    EXPECT_GT(timer.frequency, 0);

    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    timer.tick();
    float first = timer.delta;
    EXPECT_GE(first, 0.019f);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    timer.tick();
    EXPECT_GE(timer.delta, 0.019f);
    // Deltas add up to the time since the reset.
    EXPECT_FLOAT_EQ(timer.accumulated, first + timer.delta);
    EXPECT_FLOAT_EQ(timer.accumulated, timer.lastElapsed);
}

}  // namespace
}  // namespace vorn::test
