#include "tests/support/FakeTracker.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace vorn::test {

namespace {

bool readableWithin(int fd, int ms) {
    pollfd entry{fd, POLLIN, 0};
    return fd >= 0 && ::poll(&entry, 1, ms) == 1;
}

}  // namespace

Bytes be32(uint32_t value) {
    return {uint8_t(value >> 24), uint8_t(value >> 16), uint8_t(value >> 8), uint8_t(value)};
}

Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

Bytes setKeyCommand(uint32_t track, uint32_t row, float value, uint8_t kind) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return Bytes{0} + be32(track) + be32(row) + be32(bits) + Bytes{kind};
}

Bytes deleteKeyCommand(uint32_t track, uint32_t row) { return Bytes{1} + be32(track) + be32(row); }
Bytes setRowCommand(uint32_t row) { return Bytes{3} + be32(row); }
Bytes pauseCommand(uint8_t flag) { return Bytes{4, flag}; }
Bytes requestTrackBytes(std::string_view name) {
    return Bytes{2} + be32(uint32_t(name.size())) + Bytes(name.begin(), name.end());
}

TrackerPeer::TrackerPeer(int fd) : fd_(fd) {
    timeval limit{2, 0};
    if (fd_ >= 0) ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit);
}

TrackerPeer& TrackerPeer::operator=(TrackerPeer&& other) noexcept {
    if (this != &other) {
        close();
        std::swap(fd_, other.fd_);
        greeting = std::move(other.greeting);
    }
    return *this;
}

void TrackerPeer::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

void TrackerPeer::send(const Bytes& bytes) {
    if (fd_ < 0 || ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL) != ssize_t(bytes.size()))
        throw std::runtime_error("tracker peer could not send");
}

Bytes TrackerPeer::read(std::size_t n) {
    Bytes bytes(n);
    std::size_t got = 0;
    while (fd_ >= 0 && got < n) {
        ssize_t r = ::recv(fd_, bytes.data() + got, n - got, 0);
        if (r <= 0) break;
        got += std::size_t(r);
    }
    bytes.resize(got);
    return bytes;
}

bool TrackerPeer::hasData(int waitMs) { return readableWithin(fd_, waitMs); }

bool TrackerPeer::closedByClient() {
    // Skips what the client sent before it closed; a client that closes with
    // our bytes still unread resets the link.
    uint8_t buffer[256];
    ssize_t r = 1;
    while (fd_ >= 0 && r > 0) r = ::recv(fd_, buffer, sizeof buffer, 0);
    return fd_ < 0 || r == 0 || errno == ECONNRESET;
}

FakeTracker::FakeTracker(uint16_t port) : listener_(::socket(AF_INET, SOCK_STREAM, 0)) {
    int reuse = 1;
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(port);
    socklen_t size = sizeof address;
    if (listener_ < 0 || ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &reuse, sizeof reuse) != 0 ||
        ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 || ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        if (listener_ >= 0) ::close(listener_);
        throw std::runtime_error("cannot open a loopback listener");
    }
    port_ = ntohs(address.sin_port);
}

FakeTracker::~FakeTracker() { ::close(listener_); }

platform::TcpAddress FakeTracker::address() const {
    auto addresses = platform::resolveLocalService("127.0.0.1", port_);
    if (addresses.size() != 1) throw std::runtime_error("127.0.0.1 did not resolve to one address");
    return addresses.front();
}

bool FakeTracker::hasPendingClient(int waitMs) { return readableWithin(listener_, waitMs); }

std::future<TrackerPeer> FakeTracker::acceptAsync(std::string answer) {
    return std::async(std::launch::async, [listener = listener_, answer = std::move(answer)] {
        if (!readableWithin(listener, 2000)) return TrackerPeer();
        TrackerPeer peer(::accept(listener, nullptr, nullptr));
        Bytes greeting = peer.read(19);
        peer.greeting.assign(greeting.begin(), greeting.end());
        if (peer.valid() && !answer.empty()) peer.send(Bytes(answer.begin(), answer.end()));
        return peer;
    });
}

}  // namespace vorn::test
