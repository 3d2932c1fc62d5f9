#include "platform/TcpSocket.h"

#include <netdb.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace vorn::platform {

TcpSocket::~TcpSocket() { close(); }

std::unique_ptr<TcpSocket> TcpSocket::adopt(int fd) {
    if (fd < 0) return nullptr;
    return std::unique_ptr<TcpSocket>(new TcpSocket(fd));
}

bool TcpSocket::sendAll(const void* data, std::size_t size) {
    if (fd_ < 0) return false;
    ssize_t sent;
    do {
        // MSG_NOSIGNAL: a peer that went away is a failed send, not a SIGPIPE.
        sent = ::send(fd_, data, size, MSG_NOSIGNAL);
    } while (sent < 0 && errno == EINTR);
    return sent >= 0 && std::size_t(sent) == size;
}

bool TcpSocket::receiveExact(void* data, std::size_t size) {
    if (fd_ < 0) return false;
    ssize_t got;
    do {
        // One call that waits for the whole field; it comes back short only
        // when the peer closed, an error occurred or the timeout ran out.
        got = ::recv(fd_, data, size, MSG_WAITALL);
    } while (got < 0 && errno == EINTR);
    return got >= 0 && std::size_t(got) == size;
}

bool TcpSocket::readable() {
    if (fd_ < 0) return false;
    pollfd entry{};
    entry.fd = fd_;
    entry.events = POLLIN;
    if (::poll(&entry, 1, 0) <= 0) return false;
    // A hang-up or error is readable too: the receive that follows fails at once.
    return (entry.revents & (POLLIN | POLLHUP | POLLERR)) != 0;
}

bool TcpSocket::setTimeout(int milliseconds) {
    if (fd_ < 0) return false;
    timeval limit{};
    limit.tv_sec = std::max(milliseconds, 0) / 1000;
    limit.tv_usec = (std::max(milliseconds, 0) % 1000) * 1000;
    return ::setsockopt(fd_, SOL_SOCKET, SO_RCVTIMEO, &limit, sizeof limit) == 0 &&
           ::setsockopt(fd_, SOL_SOCKET, SO_SNDTIMEO, &limit, sizeof limit) == 0;
}

void TcpSocket::close() {
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

std::unique_ptr<TcpSocket> TcpAddress::connect() const {
    int fd = ::socket(family_, SOCK_STREAM, 0);
    if (fd < 0) return nullptr;
    std::unique_ptr<TcpSocket> socket(new TcpSocket(fd));
    int result;
    do {
        result = ::connect(fd, reinterpret_cast<const sockaddr*>(sockaddr_.data()),
                           socklen_t(sockaddr_.size()));
    } while (result < 0 && errno == EINTR);
    if (result != 0) return nullptr;
    return socket;
}

std::string TcpAddress::describe() const {
    char host[NI_MAXHOST] = "";
    char service[NI_MAXSERV] = "";
    if (::getnameinfo(reinterpret_cast<const sockaddr*>(sockaddr_.data()), socklen_t(sockaddr_.size()),
                      host, sizeof host, service, sizeof service, NI_NUMERICHOST | NI_NUMERICSERV) != 0)
        return "?";
    if (family_ == AF_INET6) return "[" + std::string(host) + "]:" + service;
    return std::string(host) + ":" + service;
}

std::vector<TcpAddress> resolveLocalService(const std::string& host, uint16_t port) {
    std::vector<TcpAddress> addresses;
    std::string service = std::to_string(unsigned(port));
    addrinfo* list = nullptr;
    if (::getaddrinfo(host.c_str(), service.c_str(), nullptr, &list) != 0) return addresses;
    for (addrinfo* entry = list; entry; entry = entry->ai_next) {
        TcpAddress address;
        address.family_ = entry->ai_family;
        auto* raw = reinterpret_cast<const uint8_t*>(entry->ai_addr);
        address.sockaddr_.assign(raw, raw + entry->ai_addrlen);
        bool seen = std::any_of(addresses.begin(), addresses.end(), [&](const TcpAddress& other) {
            return other.family_ == address.family_ && other.sockaddr_ == address.sockaddr_;
        });
        if (!seen) addresses.push_back(std::move(address));
    }
    ::freeaddrinfo(list);
    return addresses;
}

}  // namespace vorn::platform
