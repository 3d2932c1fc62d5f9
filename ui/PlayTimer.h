// The UI's play clock: a stopwatch over the performance counter that reports
// the seconds passed since the previous tick.
#pragma once

#include <cstdint>

namespace vorn::ui {

struct PlayTimer {
    float base = 0.0f;
    int64_t frequency = 1;
    int64_t startCount = 0;
    int64_t currentCount = 0;
    float lastElapsed = 0.0f;
    float accumulated = 0.0f;
    float delta = 0.0f;

    // Starts over from now.
    void reset(float newBase);
    // delta := seconds since the previous tick (since reset for the first).
    void tick();
};

}  // namespace vorn::ui
