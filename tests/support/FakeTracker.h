// The tracker side of the sync protocol for tests: a listener on 127.0.0.1
// that accepts one client at a time, takes its greeting and answers it, then
// reads and writes raw protocol bytes. Every wait is bounded (2 s).
#pragma once

#include <cstdint>
#include <future>
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
    TrackerPeer(TrackerPeer&& other) noexcept { *this = std::move(other); }
    TrackerPeer& operator=(TrackerPeer&& other) noexcept;
    ~TrackerPeer() { close(); }

    bool valid() const { return fd_ >= 0; }
    void send(const Bytes& bytes);
    Bytes read(std::size_t n);  // fewer when the client closed or 2 s passed
    bool hasData(int waitMs);   // bytes from the client arrived within waitMs
    bool closedByClient();      // reading on reaches the end of the stream
    void close();

    std::string greeting;  // the 19 bytes the client greeted with

private:
    int fd_ = -1;
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
    // and answers with answer; an invalid peer when nobody came.
    std::future<TrackerPeer> acceptAsync(std::string answer = "hello, demo!");
    bool hasPendingClient(int waitMs);  // a client waits to be accepted within waitMs

private:
    int listener_ = -1;
    uint16_t port_ = 0;
};

}  // namespace vorn::test
