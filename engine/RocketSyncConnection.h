// The engine's sync connection over the tracker client of the sync library.
// Two flavours: a live one that talks to a tracker on this machine, and a
// playback one that never opens a socket and only reads ".track" files.
#pragma once

#include <memory>
#include <string>

#include "engine/SyncConnection.h"
#include "sync/SyncClient.h"

namespace vorn::engine {

class RocketSyncConnection : public SyncConnection {
public:
    explicit RocketSyncConnection(std::unique_ptr<sync::SyncClient> client);

    bool connect() override;
    bool update(uint32_t row, const SyncCallbacks* callbacks, void* context) override;
    // In playback, a track without a ".track" file is refused (null): there is
    // nothing to play, so whatever would be bound to it keeps its value.
    Track* getTrack(const std::string& name) override;
    double getValue(const Track* track, double row) const override;
    bool saveTracks() override;

    sync::SyncClient& client() { return *client_; }

private:
    std::unique_ptr<sync::SyncClient> client_;
};

// The engine's default makers: a live client of the tracker on port 1338 of
// this machine, and a client that plays track files.
std::unique_ptr<SyncConnection> makeRocketConnection(const std::string& baseName);
std::unique_ptr<SyncConnection> makeRocketPlayback(const std::string& baseName);

}  // namespace vorn::engine
