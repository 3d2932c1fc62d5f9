#include "platform/Timer.h"

#include <chrono>
#include <ctime>

namespace vorn::platform {

int64_t performanceCounter() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t performanceFrequency() { return 1'000'000'000; }

double threadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

}  // namespace vorn::platform
