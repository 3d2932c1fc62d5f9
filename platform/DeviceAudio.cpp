// The music output over SDL audio. The whole MP3 is decoded at load; the
// device callback copies from it at its own cursor.
//
// The reported position runs on the steady clock, anchored whenever playback
// starts, pauses, resumes or is positioned. That keeps it smooth (a device
// cursor moves in whole buffers), lets it advance in real time where there is
// no device or only SDL's dummy driver (which runs slightly slow), and update()
// pulls the device cursor back to the clock when the two drift apart.
#include "platform/AudioOutput.h"

#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Mp3Decoder.h"
#include "platform/Paths.h"
#include "platform/Timer.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>

namespace vorn::platform {

namespace {

// Device cursor and clock may differ by the device's buffering; beyond this the cursor is moved.
constexpr int64_t kResyncThresholdMs = 250;

class DeviceAudioOutput final : public AudioOutput {
public:
    DeviceAudioOutput() {
        audioSystem_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        if (!audioSystem_) debugLine(std::string("no sound device, music plays silently: ") + SDL_GetError());
    }

    ~DeviceAudioOutput() override {
        releaseSound();
        if (audioSystem_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool createSound(const std::string& path) override {
        releaseSound();
        std::string whyNot;
        auto bytes = readFile(path, kMaxMusicFileBytes, &whyNot);
        if (!bytes) {
            debugLine("cannot open music " + displayPath(path) + ": " + whyNot);
            return false;
        }
        auto decoded = decodeMp3(bytes->data(), bytes->size(), &whyNot);
        if (!decoded) {
            debugLine("cannot decode music " + displayPath(path) + ": " + whyNot);
            return false;
        }
        sound_ = std::make_unique<DecodedAudio>(std::move(*decoded));
        openDevice();
        return true;
    }

    void releaseSound() override {
        if (device_) SDL_CloseAudioDevice(device_);  // waits for a running callback
        device_ = 0;
        sound_.reset();
        channel_ = false;
        paused_ = false;
        anchorMs_ = 0;
    }

    bool hasSound() const override { return sound_ != nullptr; }

    void playSound() override {
        if (!sound_) return;
        channel_ = true;
        paused_ = false;
        anchorAt(0);
        moveDeviceCursor(0);
        if (device_) SDL_PauseAudioDevice(device_, 0);
    }

    bool hasChannel() const override { return channel_; }

    void setPaused(bool paused) override {
        if (!channel_ || paused == paused_) return;
        if (paused) {
            anchorMs_ = positionMs();
            paused_ = true;
        } else {
            anchorAt(anchorMs_);
            paused_ = false;
        }
        if (device_) SDL_PauseAudioDevice(device_, paused ? 1 : 0);
    }

    bool paused() const override { return channel_ && paused_; }

    void setPositionMs(uint32_t ms) override {
        if (!channel_) return;
        ms = std::min(ms, sound_->durationMs());
        anchorAt(ms);
        moveDeviceCursor(ms);
    }

    uint32_t positionMs() const override {
        if (!channel_) return 0;
        if (paused_) return anchorMs_;
        int64_t elapsedMs = (performanceCounter() - anchorCount_) * 1000 / performanceFrequency();
        return uint32_t(std::min<int64_t>(int64_t(anchorMs_) + elapsedMs, sound_->durationMs()));
    }

    void update() override {
        if (!device_ || !channel_ || paused_) return;
        int64_t deviceMs = int64_t(cursorFrame_.load() * 1000 / uint64_t(sound_->sampleRate));
        int64_t clockMs = positionMs();
        if (std::abs(deviceMs - clockMs) > kResyncThresholdMs) moveDeviceCursor(uint32_t(clockMs));
    }

private:
    void anchorAt(uint32_t ms) {
        anchorMs_ = ms;
        anchorCount_ = performanceCounter();
    }

    void moveDeviceCursor(uint32_t ms) {
        if (!device_) return;
        SDL_LockAudioDevice(device_);
        cursorFrame_.store(uint64_t(ms) * uint64_t(sound_->sampleRate) / 1000);
        SDL_UnlockAudioDevice(device_);
    }

    void openDevice() {
        if (!audioSystem_) return;
        SDL_AudioSpec wanted{};
        wanted.freq = sound_->sampleRate;
        wanted.format = AUDIO_S16SYS;
        wanted.channels = 2;
        wanted.samples = 1024;
        wanted.callback = &DeviceAudioOutput::fill;
        wanted.userdata = this;
        SDL_AudioSpec obtained{};
        // No changes allowed: SDL converts to whatever the device needs.
        device_ = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
        if (!device_) debugLine(std::string("cannot open the sound device, music plays silently: ") + SDL_GetError());
        // Opened paused; playSound starts it.
    }

    static void fill(void* user, Uint8* stream, int length) {
        auto* self = static_cast<DeviceAudioOutput*>(user);
        const DecodedAudio& sound = *self->sound_;
        std::size_t wanted = std::size_t(length) / 4;
        uint64_t cursor = self->cursorFrame_.load();
        std::size_t available = cursor < sound.frames() ? std::min<std::size_t>(wanted, sound.frames() - cursor) : 0;
        if (available) std::memcpy(stream, sound.samples.data() + cursor * 2, available * 4);
        std::memset(stream + available * 4, 0, std::size_t(length) - available * 4);
        self->cursorFrame_.store(cursor + available);
    }

    bool audioSystem_ = false;
    SDL_AudioDeviceID device_ = 0;
    std::unique_ptr<DecodedAudio> sound_;
    std::atomic<uint64_t> cursorFrame_{0};  // written by the callback, moved under the device lock
    bool channel_ = false;
    bool paused_ = false;
    uint32_t anchorMs_ = 0;      // position at anchorCount_ (the position itself while paused)
    int64_t anchorCount_ = 0;
};

}  // namespace

std::unique_ptr<AudioOutput> createDeviceAudio() { return std::make_unique<DeviceAudioOutput>(); }

}  // namespace vorn::platform
