#include "ui/PlayTimer.h"

#include "platform/Timer.h"

namespace vorn::ui {

void PlayTimer::reset(float newBase) {
    base = newBase;
    lastElapsed = accumulated = delta = 0.0f;
    frequency = platform::performanceFrequency();
    startCount = platform::performanceCounter();
}

void PlayTimer::tick() {
    currentCount = platform::performanceCounter();
    float elapsed = float(double(currentCount - startCount) / double(frequency));
    delta = elapsed - lastElapsed;
    lastElapsed = elapsed;
    accumulated += delta;
}

}  // namespace vorn::ui
