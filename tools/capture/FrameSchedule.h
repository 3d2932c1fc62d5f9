// Which engine times a capture renders: t = from + i / fps for every frame i
// with t < to, each as the whole millisecond the music position stands at.
#pragma once

#include <cstdint>

namespace vorn::capture {

class FrameSchedule {
public:
    FrameSchedule(double from, double to, double fps);

    int64_t frameCount() const { return count_; }
    double frameTime(int64_t frame) const { return from_ + double(frame) / fps_; }
    // Rounded to the nearest millisecond, so 0.1 s is 100 ms, not 99.
    uint32_t frameTimeMs(int64_t frame) const;

private:
    double from_, to_, fps_;
    int64_t count_ = 0;
};

}  // namespace vorn::capture
