#include "platform/Timer.h"

#include <chrono>

namespace vorn::platform {

int64_t performanceCounter() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

int64_t performanceFrequency() { return 1'000'000'000; }

}  // namespace vorn::platform
