#include "platform/TcpSocket.h"

#include "tests/support/FakeTracker.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn::platform {
namespace {

// Against the tests' loopback tracker, whose end is written directly against POSIX.
TEST(TcpSocket, ExchangesExactSizesJoinsAFieldSentInTwoPiecesAndFailsOnAClosedPeerWithoutASignal) {
    test::FakeTracker tracker;
    // Without hints the resolver lists 127.0.0.1 once per socket type; it is kept once.
    auto addresses = resolveLocalService("127.0.0.1", tracker.port());
    ASSERT_EQ(addresses.size(), 1u);
    EXPECT_EQ(addresses[0].describe(), "127.0.0.1:" + std::to_string(tracker.port()));
    auto pending = tracker.acceptAsync("ab");
    auto socket = addresses[0].connect();
    ASSERT_TRUE(socket);
    ASSERT_TRUE(socket->sendAll("nineteen bytes here", 19));
    test::TrackerPeer peer = pending.get();
    EXPECT_EQ(peer.greeting, "nineteen bytes here");
    peer.send({'c', 'd'});
    char field[4] = {};
    ASSERT_TRUE(socket->receiveExact(field, 4));
    EXPECT_EQ(std::string(field, 4), "abcd");
    EXPECT_FALSE(socket->readable());

    peer.send({'x'});
    peer.close();
    EXPECT_FALSE(socket->receiveExact(field, 2));
    EXPECT_TRUE(socket->readable());  // the end of the stream waits to be read
    bool failed = false;              // the first sends may still be taken by the kernel
    for (int i = 0; i < 100 && !failed; ++i) failed = !socket->sendAll("data", 4);
    EXPECT_TRUE(failed);
}

}  // namespace
}  // namespace vorn::platform
