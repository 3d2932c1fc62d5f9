// High-resolution monotonic time for the frame stopwatch and the play timer.
// The counter/frequency pair mirrors a performance counter so callers can keep
// integer counts and divide only when they need seconds.
#pragma once

#include <cstdint>

namespace vorn::platform {

int64_t performanceCounter();    // ticks of a steady clock
int64_t performanceFrequency();  // ticks per second

// CPU time the calling thread has used, in seconds: work apart from waits and
// apart from other threads (a software renderer's, for one).
double threadCpuSeconds();

// Measures seconds since start() (or construction).
class Stopwatch {
public:
    Stopwatch() { start(); }
    void start() { startCount_ = performanceCounter(); }
    double seconds() const {
        return double(performanceCounter() - startCount_) / double(performanceFrequency());
    }

private:
    int64_t startCount_ = 0;
};

}  // namespace vorn::platform
