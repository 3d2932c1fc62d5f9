// The music of the production: one sound loaded from the engine's musicFile and
// played on one channel. The engine reads the channel position as its clock;
// the shell and the sync tracker start, pause and position playback.
//
// The sound device itself is a platform::AudioOutput handed in by the owner of
// the engine (the device for the player, a stepped one for offline capture, a
// fake in tests).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/AudioOutput.h"

namespace vorn::engine {

class MusicPlayer {
public:
    explicit MusicPlayer(std::unique_ptr<platform::AudioOutput> system);

    // When fileName differs from musicFile: releases the sound, loads musicFile
    // and marks playback as not started (it must be started again).
    void useFile(const std::string& musicFile);

    // The shell's start of the show: position the channel at seconds (no effect
    // before there is a channel), then play from the start when never started,
    // else resume.
    void startPlayback(float seconds);

    // Channel position in milliseconds, 0 without a channel.
    uint32_t positionMs() const;

    std::unique_ptr<platform::AudioOutput> system;
    bool started = false;  // playback was started since the sound was loaded
    std::string fileName;  // the file the sound was created from
};

}  // namespace vorn::engine
