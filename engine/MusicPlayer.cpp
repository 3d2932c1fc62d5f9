#include "engine/MusicPlayer.h"

#include <filesystem>

#include "engine/SyncRows.h"
#include "platform/Paths.h"

namespace vorn::engine {

MusicPlayer::MusicPlayer(std::unique_ptr<platform::AudioOutput> system) : system(std::move(system)) {}

namespace {

// Two texts naming one file: the engine's start-up names the music by its full
// path, a loaded project by ".\rsrc\track.mp3".
bool sameFile(const std::string& a, const std::string& b) {
    namespace fs = std::filesystem;
    std::error_code error;
    fs::path pathA = fs::absolute(platform::resolvePath(a), error).lexically_normal();
    fs::path pathB = fs::absolute(platform::resolvePath(b), error).lexically_normal();
    return !error && pathA == pathB;
}

}  // namespace

void MusicPlayer::useFile(const std::string& musicFile) {
    if (fileName == musicFile) return;
    if (system->hasSound() && sameFile(fileName, musicFile)) {
        // The decoded sound is kept; playback still starts afresh, as after a reload.
        fileName = musicFile;
        system->setPaused(true);
        started = false;
        return;
    }
    if (system->hasSound()) system->releaseSound();
    fileName = musicFile;
    // A missing file leaves no sound (the output says why): the show then
    // runs on a frozen clock.
    system->createSound(fileName);
    started = false;
}

void MusicPlayer::startPlayback(float seconds) {
    system->setPositionMs(positionMsFor(seconds));
    if (!started) {
        system->playSound();
        started = true;
    } else {
        system->setPaused(false);
    }
}

uint32_t MusicPlayer::positionMs() const { return system->positionMs(); }

}  // namespace vorn::engine
