#include "platform/TcpSocket.h"

#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstring>
#include <string>

namespace vorn::platform {
namespace {

// A loopback listener on a free port, written directly against POSIX so the
// socket class is checked against something it does not share code with.
class Listener {
public:
    Listener() {
        fd_ = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t size = sizeof address;
        EXPECT_EQ(::bind(fd_, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
        EXPECT_EQ(::listen(fd_, 4), 0);
        ::getsockname(fd_, reinterpret_cast<sockaddr*>(&address), &size);
        port_ = ntohs(address.sin_port);
    }
    ~Listener() { ::close(fd_); }
    uint16_t port() const { return port_; }
    // The next connection's descriptor (the connect has already completed in the backlog).
    int accept() {
        pollfd entry{fd_, POLLIN, 0};
        if (::poll(&entry, 1, 2000) != 1) return -1;
        return ::accept(fd_, nullptr, nullptr);
    }

private:
    int fd_ = -1;
    uint16_t port_ = 0;
};

std::unique_ptr<TcpSocket> connectTo(uint16_t port) {
    auto addresses = resolveLocalService("127.0.0.1", port);
    if (addresses.empty()) return nullptr;
    return addresses.front().connect();
}

bool waitReadable(TcpSocket& socket) {
    for (int i = 0; i < 2000; ++i) {
        if (socket.readable()) return true;
        ::usleep(1000);
    }
    return false;
}

TEST(TcpSocketTest, ResolvesEachAddressOnce) {
    // Without hints the resolver lists 127.0.0.1 once per socket type.
    auto addresses = resolveLocalService("127.0.0.1", 1338);
    ASSERT_EQ(addresses.size(), 1u);
    EXPECT_EQ(addresses[0].describe(), "127.0.0.1:1338");
}

TEST(TcpSocketTest, ExchangesExactSizesBothWays) {
    Listener listener;
    auto socket = connectTo(listener.port());
    ASSERT_TRUE(socket);
    int peer = listener.accept();
    ASSERT_GE(peer, 0);

    EXPECT_FALSE(socket->readable());
    ASSERT_TRUE(socket->sendAll("hello", 5));
    char received[5] = {};
    ASSERT_EQ(::recv(peer, received, 5, MSG_WAITALL), 5);
    EXPECT_EQ(std::string(received, 5), "hello");

    // Two pieces of one field arrive as one receive.
    ::send(peer, "ab", 2, 0);
    ::send(peer, "cd", 2, 0);
    ASSERT_TRUE(waitReadable(*socket));
    char field[4] = {};
    ASSERT_TRUE(socket->receiveExact(field, 4));
    EXPECT_EQ(std::string(field, 4), "abcd");
    EXPECT_FALSE(socket->readable());
    ::close(peer);
}

TEST(TcpSocketTest, AClosedPeerMakesReceivesShortAndIsReadable) {
    Listener listener;
    auto socket = connectTo(listener.port());
    ASSERT_TRUE(socket);
    int peer = listener.accept();
    ::send(peer, "xy", 2, 0);
    ::close(peer);
    ASSERT_TRUE(waitReadable(*socket));
    char field[4];
    EXPECT_FALSE(socket->receiveExact(field, 4));

    // Sending into a closed link fails instead of raising SIGPIPE.
    bool failed = false;
    for (int i = 0; i < 100 && !failed; ++i) failed = !socket->sendAll("data", 4);
    EXPECT_TRUE(failed);
}

TEST(TcpSocketTest, ASilentPeerEndsAReceiveAfterTheTimeout) {
    Listener listener;
    auto socket = connectTo(listener.port());
    ASSERT_TRUE(socket);
    int peer = listener.accept();
    ASSERT_TRUE(socket->setTimeout(50));
    ::send(peer, "a", 1, 0);
    char field[2];
    EXPECT_FALSE(socket->receiveExact(field, 2));
    ::close(peer);
}

TEST(TcpSocketTest, ConnectingWhereNobodyListensFails) {
    uint16_t port;
    {
        Listener gone;
        port = gone.port();
    }
    EXPECT_EQ(connectTo(port), nullptr);
}

TEST(TcpSocketTest, AdoptsADescriptorAndClosesIt) {
    EXPECT_EQ(TcpSocket::adopt(-1), nullptr);
    int pair[2];
    ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    auto socket = TcpSocket::adopt(pair[0]);
    ASSERT_TRUE(socket);
    ASSERT_TRUE(socket->sendAll("z", 1));
    char byte = 0;
    ASSERT_EQ(::recv(pair[1], &byte, 1, 0), 1);
    EXPECT_EQ(byte, 'z');
    socket->close();
    EXPECT_FALSE(socket->isOpen());
    EXPECT_FALSE(socket->sendAll("z", 1));
    EXPECT_EQ(::recv(pair[1], &byte, 1, 0), 0);  // the other end sees the close
    ::close(pair[1]);
}

}  // namespace
}  // namespace vorn::platform
