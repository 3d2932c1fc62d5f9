// The music output for offline rendering: nothing is decoded or played, and the
// position is whatever the caller last set, so frames can be rendered at exact
// times however long each takes.
#include "platform/AudioOutput.h"

#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"

#include <cstdio>

namespace vorn::platform {

namespace {

class SteppedAudio final : public SteppedAudioOutput {
public:
    bool createSound(const std::string& path) override {
        releaseSound();
        std::string whyNot;
        std::FILE* file = openFile(path, "rb", &whyNot, kMaxMusicFileBytes);
        if (!file) {
            debugLine("cannot open music " + displayPath(path) + ": " + whyNot);
            return false;
        }
        std::fclose(file);
        sound_ = true;
        return true;
    }

    void releaseSound() override {
        sound_ = false;
        channel_ = false;
        paused_ = false;
    }

    bool hasSound() const override { return sound_; }

    void playSound() override {
        if (!sound_) return;
        channel_ = true;
        paused_ = false;
    }

    bool hasChannel() const override { return channel_; }

    void setPaused(bool paused) override {
        if (channel_) paused_ = paused;
    }
    bool paused() const override { return channel_ && paused_; }

    void setPositionMs(uint32_t ms) override {
        if (channel_) position_ = ms;
    }
    uint32_t positionMs() const override { return channel_ ? position_ : 0; }

    void update() override {}

    void standAt(uint32_t ms) override { position_ = ms; }

private:
    bool sound_ = false;
    bool channel_ = false;
    bool paused_ = false;
    uint32_t position_ = 0;
};

}  // namespace

std::unique_ptr<SteppedAudioOutput> createSteppedAudio() { return std::make_unique<SteppedAudio>(); }

}  // namespace vorn::platform
