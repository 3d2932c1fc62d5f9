#include "engine/MusicPlayer.h"

#include "engine/SyncRows.h"
#include "platform/Debug.h"

namespace vorn::engine {

MusicPlayer::MusicPlayer(std::unique_ptr<platform::AudioOutput> system) : system(std::move(system)) {}

void MusicPlayer::useFile(const std::string& musicFile) {
    if (fileName == musicFile) return;
    if (system->hasSound()) system->releaseSound();
    fileName = musicFile;
    // A missing file leaves no sound: the show then runs on a frozen clock.
    if (!system->createSound(fileName)) platform::debugLine("cannot load music " + fileName);
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
