// The music back end: one sound decoded from a file, played on one channel
// that can be paused, resumed, positioned and queried in milliseconds, plus a
// per-frame update. The engine's MusicPlayer keeps the started flag and the
// file name; this interface is only the sound device underneath it.
//
// Two implementations: the real one (MP3 through libmpg123, output through
// SDL audio; with no sound device the position still advances in real time)
// and a stepped one whose position the caller sets, for offline rendering.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace vorn::platform {

class AudioOutput {
public:
    virtual ~AudioOutput() = default;

    // Replaces the current sound with the file's (resolved as every path is).
    // A missing or undecodable file leaves no sound, says why in one
    // diagnostic line and returns false.
    virtual bool createSound(const std::string& path) = 0;
    virtual void releaseSound() = 0;
    virtual bool hasSound() const = 0;

    // Starts the sound from its beginning on a fresh channel, not paused.
    // Without a sound nothing happens and there is still no channel.
    virtual void playSound() = 0;
    virtual bool hasChannel() const = 0;

    // Channel operations; each does nothing without a channel.
    virtual void setPaused(bool paused) = 0;
    virtual bool paused() const = 0;
    virtual void setPositionMs(uint32_t ms) = 0;
    virtual uint32_t positionMs() const = 0;  // 0 without a channel

    // Once per frame.
    virtual void update() = 0;
};

// The device-backed output. Never fails: without a sound device it plays
// silently against a steady clock.
std::unique_ptr<AudioOutput> createDeviceAudio();

// Offline rendering: the position is whatever the caller last set through
// setPositionMs (through the stepped interface or the channel), never advancing
// on its own.
// A sound "loads" when its file exists and can be read; nothing is decoded.
class SteppedAudioOutput : public AudioOutput {
public:
    // The position every channel query reports from now on.
    virtual void standAt(uint32_t ms) = 0;
};
std::unique_ptr<SteppedAudioOutput> createSteppedAudio();

}  // namespace vorn::platform
