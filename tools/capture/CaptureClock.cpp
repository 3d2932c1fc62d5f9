#include "tools/capture/CaptureClock.h"

#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Mp3Decoder.h"
#include "platform/Paths.h"

namespace vorn::capture {

CaptureClock::CaptureClock() : stepped_(platform::createSteppedAudio()) {}

bool CaptureClock::createSound(const std::string& path) {
    if (!stepped_->createSound(path)) return false;  // it says why
    std::string whyNot;
    auto bytes = platform::readFile(path, platform::kMaxMusicFileBytes, &whyNot);
    if (bytes && platform::probeMp3(bytes->data(), bytes->size(), &whyNot)) return true;
    platform::debugLine("cannot decode music " + platform::displayPath(path) + ": " + whyNot +
                        "; rendering without it");
    stepped_->releaseSound();
    return false;
}

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
