// A blocking TCP stream to a service on this machine, with a zero-timeout
// readability poll. Transfers are all-or-nothing: a send or receive that moves
// fewer bytes than asked reports failure, and the caller treats the link as lost.
// Nothing here retries; a stalled peer ends a transfer after the socket's timeout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace vorn::platform {

class TcpSocket {
public:
    ~TcpSocket();
    TcpSocket(const TcpSocket&) = delete;
    TcpSocket& operator=(const TcpSocket&) = delete;

    // Takes ownership of an already connected stream descriptor (a test's
    // socketpair, a listener's accepted peer). Null for a negative descriptor.
    static std::unique_ptr<TcpSocket> adopt(int fd);

    // Sends exactly size bytes in one call; false when fewer were sent.
    bool sendAll(const void* data, std::size_t size);
    // Receives exactly size bytes (waiting for all of them); false on a short read or a closed peer.
    bool receiveExact(void* data, std::size_t size);
    // True when a receive would not block (data waiting or the peer closed); never waits.
    bool readable();
    // Longest wait of one send or receive before it fails; 0 waits without limit.
    bool setTimeout(int milliseconds);
    void close();
    bool isOpen() const { return fd_ >= 0; }

private:
    friend class TcpAddress;
    explicit TcpSocket(int fd) : fd_(fd) {}
    int fd_ = -1;
};

// One resolved address of a host and service, in resolver order.
class TcpAddress {
public:
    // Opens a stream socket of this address's family and connects; null on failure.
    std::unique_ptr<TcpSocket> connect() const;
    std::string describe() const;  // "127.0.0.1:1338", "[::1]:1338"

private:
    friend std::vector<TcpAddress> resolveLocalService(const std::string& host, uint16_t port);
    int family_ = 0;
    std::vector<uint8_t> sockaddr_;  // the raw socket address, as the resolver returned it
};

// Resolves host (for example "localhost") and port with no hints, so every
// address family the resolver offers comes back, in its order. The resolver
// lists an address once per socket type; each address is kept once. Empty on failure.
std::vector<TcpAddress> resolveLocalService(const std::string& host, uint16_t port);

}  // namespace vorn::platform
