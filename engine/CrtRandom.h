// The pseudo-random generator of the Windows C runtime (srand / rand), kept
// in-house: productions authored on Windows seed it with fixed values and
// expect the same layouts here, which the platform's own rand would not give.
// Each user holds its own generator and seeds it before drawing, so no state
// is shared between nodes.
#pragma once

#include <cstdint>

namespace vorn::engine {

class CrtRandom {
public:
    static constexpr int kMax = 0x7FFF;  // rand() yields 0 ... kMax

    explicit CrtRandom(uint32_t seed = 1) : state_(seed) {}

    void seed(uint32_t seed) { state_ = seed; }  // srand
    int next() {                                 // rand
        state_ = state_ * 214013u + 2531011u;
        return int((state_ >> 16) & 0x7FFF);
    }

private:
    uint32_t state_;
};

}  // namespace vorn::engine
