#include "tools/capture/FrameSchedule.h"

#include <cmath>

namespace vorn::capture {

FrameSchedule::FrameSchedule(double from, double to, double fps) : from_(from), to_(to), fps_(fps) {
    if (!(fps > 0.0) || !(to > from)) return;
    // The estimate can be one off either way where (to - from) * fps is whole.
    int64_t count = int64_t(std::ceil((to - from) * fps));
    while (count > 0 && frameTime(count - 1) >= to) --count;
    while (frameTime(count) < to) ++count;
    count_ = count;
}

uint32_t FrameSchedule::frameTimeMs(int64_t frame) const {
    double ms = std::llround(frameTime(frame) * 1000.0);
    if (ms < 0.0) return 0;
    if (ms > 4294967295.0) return 4294967295u;
    return uint32_t(ms);
}

}  // namespace vorn::capture
