// The tracker client against a loopback tracker: the greeting, the commands it
// takes, the damage that drops the link, and saving its tracks.
#include "sync/SyncClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <functional>

#include "platform/Debug.h"
#include "tests/support/FakeTracker.h"
#include "tests/support/WorkingDirectory.h"

namespace vorn::sync {
namespace {

using test::Bytes;
using test::FakeTracker;
using test::TrackerPeer;
using test::be32;
using test::deleteKeyCommand;
using test::requestTrackBytes;
using test::setKeyCommand;
using test::operator+;

class SyncClientTest : public ::testing::Test {
protected:
    void SetUp() override { client.setTimeout(100); }

    // Updates the client until done() holds; false when it never did within 2 s.
    bool updateUntil(const std::function<bool()>& done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline) {
            client.update(0, nullptr, nullptr);
            if (done()) return true;
        }
        return false;
    }

    test::WorkingDirectory directory;
    FakeTracker tracker;
    SyncClient client{"sync"};
};

TEST_F(SyncClientTest, ConnectGreetsEachAddressInTurnUntilATrackerAnswersThenTakesItsCommands) {
    FakeTracker mute, impostor;
    platform::TcpAddress closed = FakeTracker().address();  // nobody listens there any more
    client.setResolver([&] {
        return std::vector<platform::TcpAddress>{closed, mute.address(), impostor.address(), tracker.address()};
    });
    SyncTrack* track = client.getTrack("a");
    auto cutShort = mute.acceptAsync("hello");  // then silence: the greeting times out
    auto wrong = impostor.acceptAsync("hello, demx!");
    auto right = tracker.acceptAsync();
    ASSERT_TRUE(client.connect());
    EXPECT_TRUE(cutShort.get().closedByClient());
    TrackerPeer rejected = wrong.get();
    EXPECT_EQ(rejected.greeting, "hello, synctracker!");
    EXPECT_TRUE(rejected.closedByClient());
    TrackerPeer peer = right.get();
    EXPECT_EQ(client.getTrack("b"), client.getTrack("b"));  // made and requested once
    Bytes requests = requestTrackBytes("a") + requestTrackBytes("b");
    EXPECT_EQ(peer.read(requests.size()), requests);

    // Keys arrive in any order and a later one at the same row replaces the
    // earlier; deleting a row without a key changes nothing; 5 saves every track.
    peer.send(setKeyCommand(0, 9, 1.0f, Linear) + setKeyCommand(0, 8, 7.0f, Step) +
              setKeyCommand(0, 8, -2.5f, Smooth) + deleteKeyCommand(0, 3) + setKeyCommand(1, 1, 1.0f, Step) +
              deleteKeyCommand(1, 1) + Bytes{5});
    ASSERT_TRUE(updateUntil([&] { return std::filesystem::exists(directory.file("sync_b.track")); }));
    Bytes expected = {2, 0, 0, 0, 8, 0, 0, 0, 0x00, 0x00, 0x20, 0xC0, 2,  // row 8, -2.5, Smooth
                      9, 0, 0, 0, 0x00, 0x00, 0x80, 0x3F, 1};            // row 9, 1.0, Linear
    EXPECT_EQ(test::readBytes(directory.file("sync_a.track")), expected);
    EXPECT_EQ(test::readBytes(directory.file("sync_b.track")), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(track->keys.size(), 2u);
}

TEST_F(SyncClientTest, MalformedOrStalledCommandsDropTheConnection) {
    client.setTrackerAddress("127.0.0.1", tracker.port());
    SyncTrack* track = client.getTrack("a");
    enum Then { KeyAfter, Silence, Leave };  // what the tracker does after the bytes
    struct Case {
        const char* what;
        Bytes bytes;
        Then then;
        const char* diagnostic;
    };
    const Case cases[] = {
        {"SetKey for a track never requested", setKeyCommand(1, 0, 1.0f, Step), KeyAfter, ""},
        {"SetKey with kind 4", setKeyCommand(0, 0, 1.0f, 4), KeyAfter, ""},
        {"DeleteKey for a track never requested", deleteKeyCommand(7, 0), KeyAfter, ""},
        {"unknown command byte", Bytes{0x2a}, KeyAfter, "unknown cmd: 2a\n"},
        {"the client's own RequestTrack byte", requestTrackBytes("a"), KeyAfter, "unknown cmd: 02\n"},
        {"a track index cut short", Bytes{0, 0, 0}, Silence, ""},
        {"a SetKey cut short", Bytes{0} + be32(0) + be32(4), Leave, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        auto pending = tracker.acceptAsync();
        ASSERT_TRUE(client.connect());
        TrackerPeer peer = pending.get();
        platform::DebugCapture capture;
        // A key after the damage must never be applied.
        peer.send(c.then == KeyAfter ? c.bytes + setKeyCommand(0, 99, 1.0f, Step) : c.bytes);
        if (c.then == Leave) peer.close();
        EXPECT_TRUE(updateUntil([&] { return !client.isConnected(); }));
        EXPECT_TRUE(track->keys.empty());
        EXPECT_EQ(capture.text(), c.diagnostic);
        if (c.then != Leave) {
            EXPECT_TRUE(peer.closedByClient());
        }
    }
}

TEST_F(SyncClientTest, SaveTracksMakesFoldersForSlashesAndStopsAtTheFirstTrackThatCannotBeWritten) {
    directory.folder().write("sync_blocked", "a file where a folder is needed");
    client.getTrack("first/a");
    client.getTrack("blocked/x");
    client.getTrack("last");
    platform::DebugCapture capture;
    EXPECT_FALSE(client.saveTracks());
    EXPECT_TRUE(capture.contains("sync_blocked")) << capture.text();
    EXPECT_TRUE(std::filesystem::exists(directory.file("sync_first/a.track")));
    EXPECT_FALSE(std::filesystem::exists(directory.file("sync_last.track")));
}

}  // namespace
}  // namespace vorn::sync
