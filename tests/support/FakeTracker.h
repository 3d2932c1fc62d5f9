// The tracker side of the sync protocol for tests: a listener on 127.0.0.1
// that accepts one client at a time, checks its greeting and answers it, then
// reads and writes raw protocol bytes. Every wait is bounded, so a client that
// misbehaves fails the test instead of hanging it.
#pragma once

#include <cstdint>
#include <future>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/TcpSocket.h"

namespace vorn::test {

using Bytes = std::vector<uint8_t>;

// Protocol fields as the tracker writes them: big-endian integers, the float's bits.
Bytes be32(uint32_t value);
Bytes setKeyCommand(uint32_t track, uint32_t row, float value, uint8_t kind);
Bytes deleteKeyCommand(uint32_t track, uint32_t row);
Bytes setRowCommand(uint32_t row);
Bytes pauseCommand(uint8_t flag);
Bytes requestTrackBytes(std::string_view name);  // what the client sends
Bytes operator+(Bytes a, const Bytes& b);

// One accepted client connection.
class TrackerPeer {
public:
    TrackerPeer() = default;
    explicit TrackerPeer(int fd);
    TrackerPeer(TrackerPeer&& other) noexcept : fd_(other.fd_), greeting(std::move(other.greeting)) { other.fd_ = -1; }
    TrackerPeer& operator=(TrackerPeer&& other) noexcept;
    ~TrackerPeer();

    bool valid() const { return fd_ >= 0; }
    void send(const Bytes& bytes);
    // Exactly n bytes, or fewer when the client closed or 2 s passed.
    Bytes read(std::size_t n);
    // True when bytes from the client arrive within waitMs.
    bool hasData(int waitMs);
    // True when the client has closed its end (reading on reaches end of stream within 2 s).
    bool closedByClient();
    void close();

private:
    int fd_ = -1;

public:
    std::string greeting;  // the 19 bytes the client greeted with
};

class FakeTracker {
public:
    FakeTracker() : FakeTracker(0) {}
    // Listens on the given loopback port (0: any free one); throws when it is taken.
    explicit FakeTracker(uint16_t port);
    ~FakeTracker();
    FakeTracker(const FakeTracker&) = delete;
    FakeTracker& operator=(const FakeTracker&) = delete;

    uint16_t port() const { return port_; }
    platform::TcpAddress address() const;

    // Accepts the next client on another thread, reads its 19-byte greeting
    // and answers with answer; an invalid peer when nobody came within 2 s.
    std::future<TrackerPeer> acceptAsync(std::string answer = "hello, demo!");
    // True when a client is waiting to be accepted within waitMs.
    bool hasPendingClient(int waitMs);

private:
    int listener_ = -1;
    uint16_t port_ = 0;
};

}  // namespace vorn::test
