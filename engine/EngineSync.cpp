// The engine's side of the sync tracker: links of float parameters to track
// names (kept in the project), bindings made from them while a client is
// connected, and the commands through which the tracker steers playback.
#include <algorithm>
#include <cstdlib>
#include <utility>

#include "engine/Engine.h"
#include "engine/SyncRows.h"

namespace vorn::engine {

namespace {

void pauseCallback(void* engine, uint8_t flag) { static_cast<Engine*>(engine)->pause(flag); }
void setRowCallback(void* engine, uint32_t row) { static_cast<Engine*>(engine)->setRow(row); }
int isPlayingCallback(void* engine) { return static_cast<Engine*>(engine)->isPlaying() ? 1 : 0; }

}  // namespace

bool Engine::linkSyncTrack(const std::string& nodeName, const std::string& trackName,
                           const std::string& parameterName) {
    Node* node = findNode(nodeName);
    if (!node) return false;
    const Value_Object* parameter = findParameter(parametersOf(*node), parameterName);
    if (!parameter || parameter->type() != ValueType::Float) return false;

    Node* outer = std::exchange(bindingNode_, node);
    bool bound = bindFloat(trackName, static_cast<const ValueFloat*>(parameter)->target);
    bindingNode_ = outer;
    bool known = std::any_of(syncLinks.begin(), syncLinks.end(),
                             [&](const SyncLink& link) { return link.trackName == trackName; });
    if (bound && !known) syncLinks.push_back(SyncLink{node, parameterName, trackName});
    return bound;
}

bool Engine::unlinkSyncTrack(const std::string& /*nodeName*/, const std::string& trackName) {
    // The binding made for the link stays until the next connection.
    return std::erase_if(syncLinks, [&](const SyncLink& link) { return link.trackName == trackName; }) > 0;
}

bool Engine::isSyncLinked(const std::string& nodeName, const std::string& parameterName) const {
    return std::any_of(syncLinks.begin(), syncLinks.end(), [&](const SyncLink& link) {
        return link.parameterName == parameterName && link.node->name == nodeName;
    });
}

bool Engine::bindFloat(const std::string& trackName, float* target) {
    for (const SyncBinding& binding : syncBindings)
        if (binding.trackName == trackName) return false;
    if (!syncClient) return true;  // links can be made offline; binding waits for the connection
    SyncConnection::Track* track = syncClient->getTrack(trackName);
    // Playing track files, a track without one has nothing to play; the link
    // is still made, as it is offline.
    if (!track) return syncPlayback;
    syncBindings.push_back(SyncBinding{target, track, trackName, bindingNode_});
    return true;
}

bool Engine::connectSync() {
    // Bindings point into the client's tracks: they cannot outlive it.
    syncBindings.clear();
    syncPlayback = false;
    syncSequenceDone_ = false;
    syncClient = syncConnectionFactory ? syncConnectionFactory("sync") : nullptr;
    if (!syncClient || !syncClient->connect()) return false;  // a client that failed stays, retried each frame
    completeSyncConnection();
    return true;
}

void Engine::completeSyncConnection() {
    bindSyncTargets();
    syncCallbacks = SyncCallbacks{pauseCallback, setRowCallback, isPlayingCallback};
    syncSequenceDone_ = true;
}

void Engine::reconnectSync() {
    // A tracker that was not up when the client was made (it is usually launched
    // just before) gets the whole sequence once it answers, or nothing would ever
    // be bound; after a lost link the client keeps its tracks and re-requests them.
    if (syncClient->connect() && !syncSequenceDone_) completeSyncConnection();
}

bool Engine::startTrackPlayback() {
    syncBindings.clear();
    syncCallbacks = SyncCallbacks{};
    syncClient = syncPlaybackFactory ? syncPlaybackFactory("sync") : nullptr;
    syncPlayback = syncClient != nullptr;
    if (!syncClient) return false;
    // The client refuses tracks without a file, so their parameters keep their values.
    bindSyncTargets();
    return true;
}

void Engine::bindSyncTargets() {
    std::vector<Node*> nodes;
    for (auto& [name, node] : nodesByName) nodes.push_back(node);
    for (Node* node : nodes) {
        bindingNode_ = node;
        node->bindSyncTracks();
    }
    bindingNode_ = nullptr;
    std::vector<SyncLink> links = syncLinks;  // linking appends to syncLinks only for new track names
    for (const SyncLink& link : links) linkSyncTrack(link.node->name, link.trackName, link.parameterName);
    bpm = float(std::strtod(bpmText.c_str(), nullptr));
}

void Engine::disconnectSync() {
    bool leavingTracker = !syncPlayback;
    syncBindings.clear();
    syncClient.reset();
    syncPlayback = false;
    syncSequenceDone_ = false;
    // Leaving the tracker stops the show; leaving track playback does not.
    if (leavingTracker && music && music->started) music->system->setPaused(true);
}

void Engine::pause(uint8_t flag) {
    // The tracker sends a nonzero flag when it pauses and zero when it plays.
    if (!music) return;
    if (flag != 0) {
        if (music->started) music->system->setPaused(true);
    } else if (music->started) {
        music->system->setPaused(false);
    } else {
        music->system->playSound();
        music->started = true;
    }
}

void Engine::setRow(uint32_t row) {
    std::optional<float> seconds = secondsForRow(row, rowsPerSecond);
    if (!seconds) return;  // no tempo yet: a row means no time
    time = *seconds;
    if (music) music->system->setPositionMs(positionMsFor(time));
}

bool Engine::isPlaying() const { return music && music->started; }

}  // namespace vorn::engine
