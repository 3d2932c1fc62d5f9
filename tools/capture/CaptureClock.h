// The music device of a capture: the stepped back end, standing where the
// capture puts it. Once playback has been started the channel reports that
// position even when the project has no music file, so time-driven nodes see
// every frame's time rather than a clock frozen at the start.
//
// The frames never need the music, but a video carries it: a music file that
// holds no MP3 audio is said once and left out (hasSound stays false), so the
// video is encoded without a sound track rather than failing part way.
#pragma once

#include "platform/AudioOutput.h"

#include <memory>

namespace vorn::capture {

class CaptureClock : public platform::SteppedAudioOutput {
public:
    CaptureClock();

    bool createSound(const std::string& path) override;
    void releaseSound() override { stepped_->releaseSound(); }
    bool hasSound() const override { return stepped_->hasSound(); }
    void playSound() override;
    bool hasChannel() const override { return playing_; }
    void setPaused(bool paused) override { stepped_->setPaused(paused); }
    bool paused() const override { return stepped_->paused(); }
    void setPositionMs(uint32_t ms) override;
    uint32_t positionMs() const override { return playing_ ? position_ : 0; }
    void update() override { stepped_->update(); }
    void standAt(uint32_t ms) override;

private:
    std::unique_ptr<platform::SteppedAudioOutput> stepped_;
    bool playing_ = false;
    uint32_t position_ = 0;
};

}  // namespace vorn::capture
