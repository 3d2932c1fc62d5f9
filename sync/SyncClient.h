// The client side of the sync tracker protocol: it asks a tracker on this
// machine for every track the engine uses, takes key edits, seek and pause
// commands as they arrive, reports the playing row, and saves tracks to
// ".track" files. Without a connection, tracks are loaded from those files.
//
// A live client is driven once per frame: update(row, ...), and connect()
// again whenever update reports the link lost. A playback client never opens
// a socket: it only loads tracks from files, and connect/update do nothing.
// Single-threaded; update never blocks while the tracker is silent.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "sync/SyncTrack.h"
#include "sync/TrackFile.h"

namespace vorn::platform {
class TcpSocket;
class TcpAddress;
}  // namespace vorn::platform

namespace vorn::sync {

// Supplied by the engine; each may be null. The context is passed through.
struct SyncCallbacks {
    void (*pause)(void* context, uint8_t flag) = nullptr;
    void (*setRow)(void* context, uint32_t row) = nullptr;
    int (*isPlaying)(void* context) = nullptr;  // nonzero while playing
};

constexpr uint16_t syncTrackerPort = 1338;

class SyncClient {
public:
    enum class Mode { Live, Playback };

    // createClient: no tracks, nothing sent yet, not connected. The base is
    // the prefix of every track file ("sync" for the engine).
    explicit SyncClient(std::string_view base, Mode mode = Mode::Live);
    // destroyClient: closes the connection and frees every track.
    ~SyncClient();
    SyncClient(const SyncClient&) = delete;
    SyncClient& operator=(const SyncClient&) = delete;

    static std::unique_ptr<SyncClient> createClient(std::string_view base) {
        return std::make_unique<SyncClient>(base, Mode::Live);
    }
    static std::unique_ptr<SyncClient> createPlaybackClient(std::string_view base) {
        return std::make_unique<SyncClient>(base, Mode::Playback);
    }

    // (Re)connects: greets each resolved address in turn until one answers,
    // then clears every track's keys and requests every track again.
    // False when no tracker answered or a request could not be sent; always
    // false, without any network activity, for a playback client.
    bool connect();

    // Processes every command the tracker has queued, then reports row when
    // callbacks->isPlaying says so and the row changed since the last report.
    // False when the connection is gone (the socket is then closed); a
    // playback client does nothing and returns true.
    bool update(uint32_t row, const SyncCallbacks* callbacks, void* context);

    // The track of that exact name, created on first use: loaded from its file
    // while not connected, requested from the tracker while connected.
    // Null only when the track cannot be stored.
    SyncTrack* getTrack(std::string_view name);

    // Writes every track to trackPath(base, name) in creation order; false at
    // the first track that cannot be written (the rest stay unwritten).
    bool saveTracks();

    bool isConnected() const;
    Mode mode() const { return mode_; }
    const std::string& base() const { return base_; }
    const std::vector<std::unique_ptr<SyncTrack>>& tracks() const { return tracks_; }
    int32_t lastRowSent() const { return lastRowSent_; }

    // Where the tracker is looked for: "localhost", port 1338 by default.
    void setTrackerAddress(std::string host, uint16_t port);
    // Replaces the resolver altogether (tests give several addresses).
    void setResolver(std::function<std::vector<platform::TcpAddress>()> resolve);
    // How long one send or receive may wait for a stalled tracker.
    void setTimeout(int milliseconds) { timeoutMs_ = milliseconds; }
    // The functions track files are read through.
    void setFileFunctions(const SyncFileFunctions& files) { files_ = files; }

    // Takes a connection whose greeting has already been exchanged and does
    // the rest of connect (clear keys, request every track). For tests and
    // fuzzing, which drive the client over a socket pair.
    bool adoptConnection(std::unique_ptr<platform::TcpSocket> socket);

private:
    bool requestTrack(const SyncTrack& track);
    bool handleCommand(uint8_t command, const SyncCallbacks* callbacks, void* context);
    bool receiveUint32(uint32_t& value);
    bool sendUint32(uint32_t value);
    bool requestAllTracks();
    void dropConnection();

    std::string base_;
    Mode mode_;
    std::vector<std::unique_ptr<SyncTrack>> tracks_;  // index = the track's index on the wire
    int32_t lastRowSent_ = -1;
    std::unique_ptr<platform::TcpSocket> socket_;
    SyncFileFunctions files_;
    std::function<std::vector<platform::TcpAddress>()> resolve_;
    int timeoutMs_ = 2000;
};

}  // namespace vorn::sync
