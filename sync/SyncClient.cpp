#include "sync/SyncClient.h"

#include <cstdio>
#include <cstring>

#include "platform/Debug.h"
#include "platform/TcpSocket.h"

namespace vorn::sync {

namespace {

// Command bytes; the tracker never sends RequestTrack, the client never sends
// the others except SetRow, which goes both ways.
enum Command : uint8_t {
    SetKey = 0,
    DeleteKey = 1,
    RequestTrack = 2,
    SetRow = 3,
    Pause = 4,
    SaveTracks = 5,
};

constexpr char clientGreeting[] = "hello, synctracker!";
constexpr char trackerGreeting[] = "hello, demo!";
constexpr std::size_t clientGreetingSize = sizeof clientGreeting - 1;    // no terminator on the wire
constexpr std::size_t trackerGreetingSize = sizeof trackerGreeting - 1;

std::function<std::vector<platform::TcpAddress>()> resolverFor(std::string host, uint16_t port) {
    return [host = std::move(host), port] { return platform::resolveLocalService(host, port); };
}

}  // namespace

SyncClient::SyncClient(std::string_view base, Mode mode)
    : base_(encodeTrackName(base)),
      mode_(mode),
      files_(defaultFileFunctions()),
      resolve_(resolverFor("localhost", syncTrackerPort)) {}

SyncClient::~SyncClient() = default;

void SyncClient::setTrackerAddress(std::string host, uint16_t port) { resolve_ = resolverFor(std::move(host), port); }

void SyncClient::setResolver(std::function<std::vector<platform::TcpAddress>()> resolve) {
    resolve_ = std::move(resolve);
}

bool SyncClient::isConnected() const { return socket_ != nullptr; }

void SyncClient::dropConnection() { socket_.reset(); }

bool SyncClient::sendUint32(uint32_t value) {
    uint8_t bytes[4] = {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
    return socket_->sendAll(bytes, sizeof bytes);
}

bool SyncClient::receiveUint32(uint32_t& value) {
    uint8_t bytes[4];
    if (!socket_->receiveExact(bytes, sizeof bytes)) return false;
    value = uint32_t(bytes[0]) << 24 | uint32_t(bytes[1]) << 16 | uint32_t(bytes[2]) << 8 | uint32_t(bytes[3]);
    return true;
}

bool SyncClient::requestTrack(const SyncTrack& track) {
    uint8_t command = RequestTrack;
    return socket_->sendAll(&command, 1) && sendUint32(uint32_t(track.name.size())) &&
           socket_->sendAll(track.name.data(), track.name.size());
}

bool SyncClient::requestAllTracks() {
    // A tracker that has just connected knows no row yet: the next report
    // tells it the current one even when the demo has not moved since.
    lastRowSent_ = -1;
    // The tracker's keys replace whatever the client held.
    for (auto& track : tracks_) {
        track->keys.clear();
        track->keys.shrink_to_fit();
        track->loadedFromFile = false;
    }
    for (const auto& track : tracks_) {
        if (!requestTrack(*track)) {
            dropConnection();
            return false;
        }
    }
    return true;
}

bool SyncClient::connect() {
    if (mode_ == Mode::Playback) return false;
    dropConnection();

    for (const platform::TcpAddress& address : resolve_()) {
        std::unique_ptr<platform::TcpSocket> socket = address.connect();
        if (!socket) continue;
        socket->setTimeout(timeoutMs_);
        char answer[trackerGreetingSize];
        if (socket->sendAll(clientGreeting, clientGreetingSize) && socket->receiveExact(answer, sizeof answer) &&
            std::memcmp(answer, trackerGreeting, trackerGreetingSize) == 0) {
            socket_ = std::move(socket);
            break;
        }
        // The socket closes as it goes out of scope; try the next address.
    }
    if (!socket_) return false;
    return requestAllTracks();
}

bool SyncClient::adoptConnection(std::unique_ptr<platform::TcpSocket> socket) {
    if (mode_ == Mode::Playback || !socket) return false;
    socket_ = std::move(socket);
    socket_->setTimeout(timeoutMs_);
    return requestAllTracks();
}

bool SyncClient::update(uint32_t row, const SyncCallbacks* callbacks, void* context) {
    if (mode_ == Mode::Playback) return true;
    if (!socket_) return false;

    for (;;) {
        if (!socket_->readable()) {
            // The tracker is silent: report the row if playing and it changed.
            if (!callbacks || !callbacks->isPlaying) return true;
            if (!callbacks->isPlaying(context) || int32_t(row) == lastRowSent_) return true;
            uint8_t command = SetRow;
            if (!socket_->sendAll(&command, 1) || !sendUint32(row)) break;
            lastRowSent_ = int32_t(row);
            return true;
        }
        uint8_t command;
        if (!socket_->receiveExact(&command, 1) || !handleCommand(command, callbacks, context)) break;
        if (!socket_) return false;  // a callback dropped the connection
    }
    dropConnection();
    return false;
}

bool SyncClient::handleCommand(uint8_t command, const SyncCallbacks* callbacks, void* context) {
    switch (command) {
    case SetKey: {
        uint32_t index, row, bits;
        uint8_t kind;
        if (!receiveUint32(index) || !receiveUint32(row) || !receiveUint32(bits) ||
            !socket_->receiveExact(&kind, 1))
            return false;
        if (kind >= syncKeyKindCount || index >= tracks_.size()) return false;
        SyncKey key;
        key.row = int32_t(row);
        std::memcpy(&key.value, &bits, sizeof key.value);
        key.kind = kind;
        setKey(*tracks_[index], key);
        return true;
    }
    case DeleteKey: {
        uint32_t index, row;
        if (!receiveUint32(index) || !receiveUint32(row)) return false;
        if (index >= tracks_.size()) return false;
        deleteKey(*tracks_[index], int32_t(row));  // a row without a key changes nothing
        return true;
    }
    case SetRow: {
        uint32_t row;
        if (!receiveUint32(row)) return false;
        if (callbacks && callbacks->setRow) callbacks->setRow(context, row);
        return true;
    }
    case Pause: {
        uint8_t flag;
        if (!socket_->receiveExact(&flag, 1)) return false;
        if (callbacks && callbacks->pause) callbacks->pause(context, flag);
        return true;
    }
    case SaveTracks:
        saveTracks();  // a failure is reported by saveTracks itself; the link stays
        return true;
    default: {
        char line[32];
        std::snprintf(line, sizeof line, "unknown cmd: %02x\n", unsigned(command));
        platform::debugOutput(line);
        return false;
    }
    }
}

SyncTrack* SyncClient::getTrack(std::string_view name) {
    for (const auto& track : tracks_)
        if (track->name == name) return track.get();

    auto created = std::make_unique<SyncTrack>();
    created->name = std::string(name);
    SyncTrack* track = created.get();
    tracks_.push_back(std::move(created));

    if (!socket_) {
        track->loadedFromFile = loadTrackFile(*track, trackPath(base_, track->name), files_);
    } else if (!requestTrack(*track)) {
        dropConnection();
    }
    return track;
}

bool SyncClient::saveTracks() {
    for (const auto& track : tracks_)
        if (!saveTrackFile(*track, trackPath(base_, track->name))) return false;
    return true;
}

}  // namespace vorn::sync
