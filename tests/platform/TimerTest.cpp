#include "platform/Timer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

namespace vorn::platform {
namespace {

TEST(Timer, CounterRunsAtItsStatedFrequency) {
    auto wallStart = std::chrono::steady_clock::now();
    int64_t start = performanceCounter();
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    int64_t end = performanceCounter();
    double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
    double measured = double(end - start) / double(performanceFrequency());
    EXPECT_GE(measured, 0.050);
    EXPECT_LE(measured, wall);
}

}  // namespace
}  // namespace vorn::platform
