#include "tools/capture/FrameSchedule.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using capture::FrameSchedule;

TEST(FrameSchedule, FramesRunFromFromUpToButNotIncludingToAtWholeMilliseconds) {
    struct Case {
        double from, to, fps;
        int frames;
    };
    const Case counts[] = {
        {0, 10, 60, 600}, {0, 0.5, 4, 2},     {0, 0.51, 4, 3},  // 0, 0.25, 0.5
        {1, 1.1, 30, 3},  {0.75, 0.8, 30, 2}, {0, 0.001, 60, 1}, {2, 1, 60, 0},
        {0, 0.3, 10, 3},  // 0.3 x 10 is 3.0000000000000004 in doubles
    };
    for (const Case& c : counts) EXPECT_EQ(FrameSchedule(c.from, c.to, c.fps).frameCount(), c.frames) << c.to;

    FrameSchedule schedule(0, 1, 60);
    EXPECT_EQ(schedule.frameTimeMs(1), 17u);   // 16.667, rounded to the nearest
    EXPECT_EQ(schedule.frameTimeMs(6), 100u);  // 99.99999 in doubles
    EXPECT_EQ(FrameSchedule(3.5, 4, 30).frameTimeMs(3), 3600u);
}

}  // namespace
}  // namespace vorn::test
