#include "tools/demo-assets/RocketTracks.h"

#include "sync/SyncTrack.h"
#include "sync/TrackFile.h"

namespace vorn::demoassets {

namespace {

// Rows as the engine counts them: 8 a beat at the project's tempo.
constexpr int kRowsPerBeat = 8;

// "vignette:strength": the grid scene's vignette closes on every beat and
// opens again over the following half beat.
sync::SyncTrack vignettePulse() {
    sync::SyncTrack track{"vignette:strength", {}, false};
    const int firstBeat = 8 * 4, lastBeat = 16 * 4;  // bars 8 to 16
    for (int beat = firstBeat; beat < lastBeat; ++beat) {
        int row = beat * kRowsPerBeat;
        sync::setKey(track, {row, beat % 4 == 0 ? 1.8f : 1.3f, sync::Linear});
        sync::setKey(track, {row + kRowsPerBeat / 2, 0.7f, sync::Linear});
    }
    sync::setKey(track, {lastBeat * kRowsPerBeat, 1.0f, sync::Step});
    return track;
}

}  // namespace

bool writeRocketTracks(const std::string& folder) {
    sync::SyncTrack track = vignettePulse();
    return sync::saveTrackFile(track, folder + "/" + sync::trackPath("sync", track.name));
}

}  // namespace vorn::demoassets
