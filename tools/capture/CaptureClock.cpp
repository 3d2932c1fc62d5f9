#include "tools/capture/CaptureClock.h"

namespace vorn::capture {

CaptureClock::CaptureClock() : stepped_(platform::createSteppedAudio()) {}

void CaptureClock::playSound() {
    stepped_->playSound();
    playing_ = true;
}

void CaptureClock::setPositionMs(uint32_t ms) {
    stepped_->setPositionMs(ms);
    if (playing_) position_ = ms;
}

void CaptureClock::standAt(uint32_t ms) {
    stepped_->standAt(ms);
    position_ = ms;
}

}  // namespace vorn::capture
