#include "engine/Engine.h"

#include "engine/RocketSyncConnection.h"
#include "engine/SyncRows.h"
#include "platform/Paths.h"
#include "platform/Timer.h"

namespace vorn::engine {

Engine::Engine(std::unique_ptr<platform::AudioOutput> audio)
    : syncConnectionFactory(makeRocketConnection), syncPlaybackFactory(makeRocketPlayback), audio_(std::move(audio)) {}

Engine::~Engine() {
    // Bindings point into the client and into nodes, records and tracks into
    // nodes: drop those before the nodes themselves.
    syncBindings.clear();
    syncClient.reset();
    syncLinks.clear();
    tracksByNode.clear();
    parametersByNode.clear();
    outputNodes.clear();
    nodesByName.clear();
    nodeSet.clear();
    resources_.clear();  // nodes borrow from them
}

void Engine::initialise() {
    resourceDirectory = platform::currentDirectory() + "\\rsrc\\";
    projectName = "demo";
    musicFile = resourceDirectory + "track.mp3";
    alternateMusicFile = resourceDirectory + "track.wav";
    headerText = "200";
    bpmText = "125";
    time = -1.0f;
    clockDrift = frameDuration = busyTime = 0.0f;
    loadScripts();
    if (audio_) music = std::make_unique<MusicPlayer>(std::move(audio_));
}

bool Engine::update(float callerTime) {
    if (music) {
        music->useFile(musicFile);
        music->system->update();
    }
    if (time >= 0.0f) clockDrift = callerTime - time;
    if (music && music->started) time = float(music->positionMs() / 1000.0);

    platform::Stopwatch stopwatch;
    if (syncClient) {
        rowsPerSecond = rowsPerSecondFor(bpm);
        // A second, slightly later reading of the position than the one time came from.
        SyncRow row = syncRowAt(music ? music->positionMs() : 0, rowsPerSecond);
        // Track files need no exchange: nothing is reported and nothing steers playback.
        if (!syncPlayback && !syncClient->update(row.rounded, &syncCallbacks, this)) reconnectSync();
        for (const SyncBinding& binding : syncBindings)
            *binding.target = float(syncClient->getValue(binding.track, row.exact));
    }
    // After the sync values, so a parameter both bound and keyframed shows its keyframes.
    evaluateKeyframes();
    for (auto& [name, node] : nodesByName) node->evaluated = false;

    bool hasOutput = !outputNodes.empty();
    for (OutputNode* output : outputNodes) {
        output->evaluate();
        output->present();
    }
    frameDuration = float(stopwatch.seconds());
    busyTime += frameDuration;
    return hasOutput;
}

void Engine::processAll() {
    std::vector<Node*> nodes;
    nodes.reserve(nodesByName.size());
    for (auto& [name, node] : nodesByName) nodes.push_back(node);
    drawingEnabled = 0;
    for (Node* node : nodes) node->process();
    drawingEnabled = 1;
}

}  // namespace vorn::engine
