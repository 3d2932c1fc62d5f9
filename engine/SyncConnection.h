// The engine's view of a live connection to a sync tracker: the client itself
// lives in the sync library and plugs in behind this interface, created through
// the engine's syncConnectionFactory. The engine drives it once per frame (row
// out, tracker commands in, bound floats from track values) and hands it the
// three callbacks through which the tracker steers playback.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

namespace vorn::engine {

class Node;

// Tracker commands delivered to the engine; the context is the engine.
struct SyncCallbacks {
    void (*pause)(void* context, uint8_t flag) = nullptr;
    void (*setRow)(void* context, uint32_t row) = nullptr;
    int (*isPlaying)(void* context) = nullptr;
};

class SyncConnection {
public:
    struct Track;  // a track of the client; opaque to the engine, owned by the client

    virtual ~SyncConnection() = default;

    // (Re)connects and requests every track again; false when no tracker answered.
    virtual bool connect() = 0;
    // Processes what the tracker sent and reports the row; false when the link is lost.
    virtual bool update(uint32_t row, const SyncCallbacks* callbacks, void* context) = 0;
    // The track of that name, created (and requested) when new; null when it
    // cannot be had (out of memory; in playback from files, no file for it).
    virtual Track* getTrack(const std::string& name) = 0;
    // The track's value at a fractional row.
    virtual double getValue(const Track* track, double row) const = 0;
    // Writes every track to its file; false at the first failure.
    virtual bool saveTracks() = 0;
};

// Makes a client with the given track-file base name (live, or one that plays track files).
using SyncConnectionFactory = std::function<std::unique_ptr<SyncConnection>(const std::string& baseName)>;

// A float written from a track every frame while a client exists.
struct SyncBinding {
    float* target = nullptr;
    SyncConnection::Track* track = nullptr;
    std::string trackName;
    Node* node = nullptr;  // whose member target is, when known (null for bindings made outside a node)
};

// A parameter linked to a track; kept in the project and turned into a binding on every connection.
struct SyncLink {
    Node* node = nullptr;
    std::string parameterName;
    std::string trackName;
};

}  // namespace vorn::engine
