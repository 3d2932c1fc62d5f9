#include "engine/RocketSyncConnection.h"

namespace vorn::engine {

namespace {

// The engine's Track is an opaque handle: it stands for a sync::SyncTrack of
// the client and is only ever cast back here.
SyncConnection::Track* handleOf(sync::SyncTrack* track) { return reinterpret_cast<SyncConnection::Track*>(track); }
const sync::SyncTrack& trackOf(const SyncConnection::Track* handle) {
    return *reinterpret_cast<const sync::SyncTrack*>(handle);
}

}  // namespace

RocketSyncConnection::RocketSyncConnection(std::unique_ptr<sync::SyncClient> client) : client_(std::move(client)) {}

bool RocketSyncConnection::connect() { return client_->connect(); }

bool RocketSyncConnection::update(uint32_t row, const SyncCallbacks* callbacks, void* context) {
    if (!callbacks) return client_->update(row, nullptr, context);
    sync::SyncCallbacks forwarded;
    forwarded.pause = callbacks->pause;
    forwarded.setRow = callbacks->setRow;
    forwarded.isPlaying = callbacks->isPlaying;
    return client_->update(row, &forwarded, context);
}

SyncConnection::Track* RocketSyncConnection::getTrack(const std::string& name) {
    sync::SyncTrack* track = client_->getTrack(name);
    if (!track) return nullptr;
    if (client_->mode() == sync::SyncClient::Mode::Playback && !track->loadedFromFile) return nullptr;
    return handleOf(track);
}

double RocketSyncConnection::getValue(const Track* track, double row) const {
    return sync::getValue(trackOf(track), row);
}

bool RocketSyncConnection::saveTracks() { return client_->saveTracks(); }

std::unique_ptr<SyncConnection> makeRocketConnection(const std::string& baseName) {
    return std::make_unique<RocketSyncConnection>(sync::SyncClient::createClient(baseName));
}

std::unique_ptr<SyncConnection> makeRocketPlayback(const std::string& baseName) {
    return std::make_unique<RocketSyncConnection>(sync::SyncClient::createPlaybackClient(baseName));
}

}  // namespace vorn::engine
