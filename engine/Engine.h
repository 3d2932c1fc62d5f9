// The engine owns the production at run time: the nodes and their names, the
// parameter records and keyframe tracks, the output nodes, the music and the
// optional sync connection. Once per frame the shell calls update, which takes
// the time from the music position, drives sync-bound and keyframed parameters
// and evaluates every output node. Its time (seconds) is the clock every node reads.
//
// The implementation is split by topic: Engine.cpp (frame, clock, music),
// EngineParameters.cpp, EngineKeyframes.cpp, EngineSync.cpp, EngineRegistry.cpp
// and EngineProject.cpp (project file through ProjectDocument).
//
// Services the owner sets up before initialise: the sound device (constructor),
// the node classes and script hooks (factory), the sync client makers
// (syncConnectionFactory, syncPlaybackFactory: by default the tracker client on
// port 1338 and the track-file player) and the yes/no question of loadProject
// (confirm). None of them is needed: without them there is no music, no node
// type, no sync and no question (loading goes ahead).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <typeindex>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "engine/Keyframe.h"
#include "engine/MusicPlayer.h"
#include "engine/Node.h"
#include "engine/NodeFactory.h"
#include "engine/ProjectDocument.h"
#include "engine/ScriptDefinition.h"
#include "engine/SyncConnection.h"
#include "engine/Value.h"
#include "engine/Value_Keyframe_Handler.h"
#include "platform/AudioOutput.h"

namespace vorn::render {
class GL_FrameBuffer;
}

namespace vorn::engine {

// Something node classes of a kind share, one per engine (the fix materials'
// texture cache): made on first use, destroyed with the engine after every
// node, so nodes may borrow from it for their whole life.
class EngineResource {
public:
    virtual ~EngineResource() = default;
};

// Asks the user a yes/no question; true for OK. The player shows a message box.
using ConfirmQuestion = std::function<bool(const std::string& text, const std::string& caption)>;

using TrackList = std::vector<KeyframeTrack>;

class Engine : public Value_Keyframe_Handler {
public:
    explicit Engine(std::unique_ptr<platform::AudioOutput> audio = nullptr);
    ~Engine() override;
    Engine(const Engine&) = delete;
    Engine& operator=(const Engine&) = delete;

    // --- The editor's interface, in its fixed order (EngineKeyframes.cpp, EngineSync.cpp)
    void addKeyframe(const std::string& nodeName, const std::string& parameterName) override;
    bool removeTracks(const std::string& nodeName, const std::string& parameterName) override;
    void setKeyAtCurrentTime(const std::string& nodeName, const std::string& parameterName) override;
    bool hasKeyframes(const std::string& nodeName, const std::string& parameterName) const override;
    bool linkSyncTrack(const std::string& nodeName, const std::string& trackName,
                       const std::string& parameterName) override;
    bool unlinkSyncTrack(const std::string& nodeName, const std::string& trackName) override;
    bool isSyncLinked(const std::string& nodeName, const std::string& parameterName) const override;

    // --- The frame (Engine.cpp)
    // Resource directory, fixed texts, clock, script types and type names, music.
    void initialise();
    // One frame at the caller's clock; false when there is no output node.
    bool update(float callerTime);
    // process once on every node, with drawingEnabled 0 (after a load).
    void processAll();
    // Writes every track's value at time into its target.
    void evaluateKeyframes();

    // --- Parameter registration, called by node constructors (EngineParameters.cpp).
    // Each writes the default into the target, appends a record to the node's list
    // and returns true.
    bool addBool(Node& node, const std::string& name, bool* target, bool defaultValue);
    bool addInt(Node& node, const std::string& name, int32_t* target, int32_t defaultValue,
                std::vector<std::string> choices = {});
    bool addFloat(Node& node, const std::string& name, float* target, float minimum, float maximum,
                  int32_t decimals, float defaultValue, bool clamp);
    // Three clamped floats at target[0..2], named name + ".X", ".Y", ".Z".
    bool addFloat3(Node& node, const std::string& name, float* target, float minimum, float maximum,
                   int32_t decimals, std::array<float, 3> defaults);
    bool addVec2(Node& node, const std::string& name, float* target, std::array<float, 2> defaultValue,
                 Vec2Style style);
    bool addVec4(Node& node, const std::string& name, float* target, std::array<float, 4> defaultValue);
    bool addString(Node& node, const std::string& name, std::string* target, const std::string& defaultValue);
    // The node's records in registration order (empty for an unknown node).
    const ParameterList& parametersOf(const Node& node) const;

    // --- Keyframe tracks (EngineKeyframes.cpp)
    // Creates the track(s) of a float, vec2 or vec4 parameter that has none yet.
    bool ensureTracks(const std::string& nodeName, const std::string& parameterName);

    // --- Sync (EngineSync.cpp)
    // Binds a float to a track of the connected client (nothing to bind offline).
    bool bindFloat(const std::string& trackName, float* target);
    // The connection sequence: make the client, connect, bind every node and link.
    // False when no tracker answered (the client stays and is retried every frame).
    bool connectSync();
    // Playback of ".track" files, for the player and offline capture once the
    // project is loaded: the binding sequence of a connection over a client that
    // never opens a socket, binding only tracks that have a file. Every frame the
    // bound floats get their track's value at the music position's row; no
    // tracker, no row reports, no callbacks. False when no client could be made.
    bool startTrackPlayback();
    void disconnectSync();
    // The tracker's commands (also reachable through syncCallbacks).
    void pause(uint8_t flag);
    void setRow(uint32_t row);
    bool isPlaying() const;

    // --- Registry (EngineRegistry.cpp)
    // Lists the script types in "Scripts\" and fills nodeTypeNames.
    void loadScripts();
    bool createNode(const std::string& nodeName, const std::string& typeName);
    bool addNode(const std::string& nodeName, std::unique_ptr<Node> node);
    // Feeds source into input inputIndex of target. Refused (with a diagnostic)
    // when the connection would close a cycle.
    bool connect(const std::string& sourceName, const std::string& targetName, int32_t inputIndex);
    // Empties input inputIndex of target; false when it was empty.
    bool disconnect(const std::string& targetName, int32_t inputIndex);
    bool deleteNode(const std::string& nodeName);
    void clearScene();
    // Null when no such node; never creates an entry.
    Node* findNode(const std::string& nodeName) const;

    // The engine's one T (an EngineResource), made on first use; it outlives
    // every node and clearScene.
    template <class T>
    T& resource() {
        std::unique_ptr<EngineResource>& slot = resources_[std::type_index(typeid(T))];
        if (!slot) slot = std::make_unique<T>();
        return static_cast<T&>(*slot);
    }

    // --- Project file (EngineProject.cpp)
    bool saveProject(const std::string& path);
    bool loadProject(const std::string& path, bool askToClear, const std::string& prefix);
    // loadProject on bytes already in memory; sourceName names them in diagnostics.
    bool loadProjectBytes(std::span<const uint8_t> bytes, const std::string& sourceName, bool askToClear,
                          const std::string& prefix);
    // The scene as it would be saved (at the current values; texts unchanged).
    ProjectDocument projectDocument() const;
    // Recreates a document's contents in the scene, section by section in order,
    // every node name with prefix in front.
    void applyProjectDocument(const ProjectDocument& document, const std::string& prefix);

    // --- State
    float time = -1.0f;  // the engine time, seconds
    float clockDrift = 0.0f;
    float frameDuration = 0.0f;  // seconds spent in the last update
    float busyTime = 0.0f;       // sum of every update's frameDuration
    int32_t drawingEnabled = 1;  // 0 while processAll runs
    std::unordered_map<std::string, uint32_t> typeCounters;
    std::unordered_map<std::string, Node*> nodesByName;
    std::unordered_map<const Node*, std::unique_ptr<Node>> nodeSet;  // owns every node
    std::unordered_map<std::string, std::string> nodeTypes;        // node name -> type name
    std::vector<OutputNode*> outputNodes;
    std::vector<std::string> nodeTypeNames;  // offered to the editor
    std::vector<std::unique_ptr<ScriptDefinition>> scripts;
    std::unordered_map<const Node*, ParameterList> parametersByNode;
    std::unordered_map<std::string, TrackList> tracksByNode;  // by node name
    std::string projectName;
    std::string resourceDirectory;
    std::string musicFile;           // the only file the music plays
    std::string alternateMusicFile;  // stored and saved, never played
    std::string headerText;
    std::string bpmText;
    render::GL_FrameBuffer* uiTarget = nullptr;  // what new viewer nodes draw through
    std::unique_ptr<MusicPlayer> music;          // null without a sound device
    std::unique_ptr<SyncConnection> syncClient;  // null without a tracker client or track playback
    bool syncPlayback = false;                   // syncClient plays track files: no tracker exchange
    SyncCallbacks syncCallbacks;
    float bpm = 0.0f;
    float rowsPerSecond = 0.0f;
    std::vector<SyncBinding> syncBindings;  // at most one per track name
    std::vector<SyncLink> syncLinks;        // saved; bindings are rebuilt from them

    // --- Services set up by the owner
    NodeFactory factory;
    SyncConnectionFactory syncConnectionFactory;
    SyncConnectionFactory syncPlaybackFactory;
    ConfirmQuestion confirm;

private:
    bool wouldCloseCycle(const Node* source, const Node* target) const;
    void forgetOutputListings(const Node* node);
    KeyframeTrack* findTrack(const std::string& nodeName, const std::string& trackName);
    // bindSyncTracks on every node, then every stored link; bpm from bpmText.
    void bindSyncTargets();
    // The rest of the connection sequence once the client is connected: bind, install the callbacks.
    void completeSyncConnection();
    // The frame's retry of a lost or never-made connection.
    void reconnectSync();

    std::unordered_map<std::type_index, std::unique_ptr<EngineResource>> resources_;
    std::unique_ptr<platform::AudioOutput> audio_;  // until initialise gives it to the music player
    Node* bindingNode_ = nullptr;                   // the node inside bindSyncTracks, for its bindings
    bool syncSequenceDone_ = false;                 // the live client has had its bindings and callbacks
    // Sources that list a target among their outputs without feeding it (a
    // connect into an occupied input), by target: deleting the target must
    // reach them too.
    std::unordered_map<const Node*, std::vector<Node*>> extraOutputListings_;
};

}  // namespace vorn::engine
