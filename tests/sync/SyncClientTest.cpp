#include "sync/SyncClient.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <filesystem>
#include <cstring>

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
using test::pauseCommand;
using test::requestTrackBytes;
using test::setKeyCommand;
using test::setRowCommand;
using test::operator+;

// What the engine's callbacks would see.
struct Recorder {
    bool playing = false;
    std::vector<uint32_t> rows;
    std::vector<uint8_t> pauses;

    SyncCallbacks callbacks() {
        SyncCallbacks callbacks;
        callbacks.pause = [](void* self, uint8_t flag) { static_cast<Recorder*>(self)->pauses.push_back(flag); };
        callbacks.setRow = [](void* self, uint32_t row) { static_cast<Recorder*>(self)->rows.push_back(row); };
        callbacks.isPlaying = [](void* self) { return int(static_cast<Recorder*>(self)->playing); };
        return callbacks;
    }
};

constexpr uint32_t markerRow = 0xFFFFFF00u;
constexpr auto patience = std::chrono::seconds(2);

Bytes fileKey(int32_t row, float value, uint8_t kind) {
    uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    auto le = [](uint32_t v) { return Bytes{uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; };
    return le(uint32_t(row)) + le(bits) + Bytes{kind};
}

std::vector<int32_t> rowsOf(const SyncTrack& track) {
    std::vector<int32_t> rows;
    for (const SyncKey& key : track.keys) rows.push_back(key.row);
    return rows;
}

class SyncClientTest : public ::testing::Test {
protected:
    void SetUp() override { client.setTrackerAddress("127.0.0.1", tracker.port()); }

    TrackerPeer connectClient() {
        auto pending = tracker.acceptAsync();
        EXPECT_TRUE(client.connect());
        return pending.get();
    }

    // Sends the commands and then a seek to markerRow, and updates the client
    // until that seek arrives: everything sent before it has been handled.
    bool deliver(TrackerPeer& peer, const Bytes& commands) {
        peer.send(commands + setRowCommand(markerRow));
        SyncCallbacks callbacks = recorder.callbacks();
        auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline) {
            if (!client.update(0, &callbacks, &recorder)) return false;
            if (!recorder.rows.empty() && recorder.rows.back() == markerRow) {
                recorder.rows.pop_back();
                return true;
            }
        }
        return false;
    }

    // Updates until the client reports the connection lost; false if it never does.
    bool updateUntilLost() {
        SyncCallbacks callbacks = recorder.callbacks();
        auto deadline = std::chrono::steady_clock::now() + patience;
        while (std::chrono::steady_clock::now() < deadline)
            if (!client.update(0, &callbacks, &recorder)) return true;
        return false;
    }

    test::WorkingDirectory directory;
    FakeTracker tracker;
    SyncClient client{"sync"};
    Recorder recorder;
};

TEST_F(SyncClientTest, ConnectGreetsThenRequestsEveryTrackInCreationOrderAndLaterOnesOnce) {
    SyncTrack* a = client.getTrack("a");
    client.getTrack("cam:pos x");
    TrackerPeer peer = connectClient();
    EXPECT_EQ(peer.greeting, "hello, synctracker!");
    EXPECT_EQ(peer.read(20), (Bytes{2, 0, 0, 0, 1, 'a', 2, 0, 0, 0, 9, 'c', 'a', 'm', ':', 'p', 'o', 's', ' ', 'x'}));
    SyncTrack* late = client.getTrack("y");
    EXPECT_EQ(client.getTrack("y"), late);
    EXPECT_EQ(peer.read(6), requestTrackBytes("y"));

    // Indices on the wire follow creation order.
    ASSERT_TRUE(deliver(peer, setKeyCommand(2, 3, 2.0f, Step)));
    EXPECT_TRUE(a->keys.empty());
    EXPECT_EQ(rowsOf(*late), (std::vector<int32_t>{3}));
}

TEST_F(SyncClientTest, RejectedGreetingMovesOnToTheNextAddress) {
    FakeTracker impostor;
    client.setResolver([&] { return std::vector<platform::TcpAddress>{impostor.address(), tracker.address()}; });
    client.getTrack("a");
    auto rejected = impostor.acceptAsync("hello, demx!");
    auto accepted = tracker.acceptAsync();
    EXPECT_TRUE(client.connect());

    TrackerPeer wrong = rejected.get();
    TrackerPeer right = accepted.get();
    EXPECT_EQ(wrong.greeting, "hello, synctracker!");
    EXPECT_TRUE(wrong.closedByClient());
    EXPECT_EQ(right.read(6), requestTrackBytes("a"));
}

TEST_F(SyncClientTest, ConnectFailsWithoutAProperAnswer) {
    client.setTimeout(100);
    {
        auto pending = tracker.acceptAsync("hello");  // short, then silence
        EXPECT_FALSE(client.connect());
        EXPECT_TRUE(pending.get().closedByClient());
    }
    {
        auto pending = tracker.acceptAsync("");  // never answers
        EXPECT_FALSE(client.connect());
        EXPECT_TRUE(pending.get().closedByClient());
    }
    {
        platform::TcpAddress closed = [] { return FakeTracker().address(); }();  // nobody listens there any more
        client.setResolver([closed] { return std::vector<platform::TcpAddress>{closed}; });
        EXPECT_FALSE(client.connect());
    }
    client.setResolver([] { return std::vector<platform::TcpAddress>{}; });
    EXPECT_FALSE(client.connect());
    EXPECT_FALSE(client.isConnected());
    EXPECT_FALSE(client.update(0, nullptr, nullptr));
}

TEST_F(SyncClientTest, KeyCommandsEditTheTrackAndSeekAndPauseReachOnlyTheCallbacksGiven) {
    SyncTrack* track = client.getTrack("a");
    TrackerPeer peer = connectClient();
    ASSERT_TRUE(deliver(peer, setKeyCommand(0, 10, 1.5f, Linear) + setKeyCommand(0, 5, 0.1f, Smooth) +
                                  setKeyCommand(0, 20, -0.0f, Quadratic) + setKeyCommand(0, 10, 7.0f, Step) +
                                  setKeyCommand(0, 30, 3.0f, Step) + deleteKeyCommand(0, 30) + deleteKeyCommand(0, 11)));
    ASSERT_EQ(rowsOf(*track), (std::vector<int32_t>{5, 10, 20}));
    EXPECT_EQ(track->keys[1].value, 7.0f);
    EXPECT_EQ(track->keys[1].kind, Step);
    EXPECT_TRUE(std::signbit(track->keys[2].value));  // the float's bits travel unchanged

    ASSERT_TRUE(deliver(peer, setRowCommand(1234) + pauseCommand(1) + pauseCommand(0) + setRowCommand(0)));
    EXPECT_EQ(recorder.rows, (std::vector<uint32_t>{1234, 0}));
    EXPECT_EQ(recorder.pauses, (std::vector<uint8_t>{1, 0}));

    SyncCallbacks onlySeek;
    onlySeek.setRow = [](void* self, uint32_t row) { static_cast<Recorder*>(self)->rows.push_back(row); };
    peer.send(pauseCommand(1) + setRowCommand(9));
    auto deadline = std::chrono::steady_clock::now() + patience;
    while (recorder.rows.size() < 3 && std::chrono::steady_clock::now() < deadline)
        ASSERT_TRUE(client.update(0, &onlySeek, &recorder));
    EXPECT_EQ(recorder.rows.back(), 9u);
    EXPECT_EQ(recorder.pauses.size(), 2u);
}

TEST_F(SyncClientTest, SaveTracksCommandWritesEveryTrack) {
    client.getTrack("a");
    client.getTrack("cam:pos x");
    TrackerPeer peer = connectClient();
    ASSERT_TRUE(deliver(peer, setKeyCommand(0, 3, 1.0f, Linear) + setKeyCommand(1, 8, -2.5f, Smooth) +
                                  setKeyCommand(1, 1, 4.0f, Step) + Bytes{5}));
    Bytes a = Bytes{1, 0, 0, 0} + fileKey(3, 1.0f, 1);
    Bytes cam = Bytes{2, 0, 0, 0} + fileKey(1, 4.0f, 0) + fileKey(8, -2.5f, 2);
    EXPECT_EQ(test::readBytes(directory.folder().file("sync_a.track")), a);
    EXPECT_EQ(test::readBytes(directory.folder().file("sync_cam-3Apos-20x.track")), cam);
    EXPECT_TRUE(client.isConnected());
}

TEST_F(SyncClientTest, RowsAreReportedOnlyWhilePlayingAndOnlyOnChange) {
    TrackerPeer peer = connectClient();
    SyncCallbacks callbacks = recorder.callbacks();
    SyncCallbacks withoutIsPlaying = callbacks;
    withoutIsPlaying.isPlaying = nullptr;

    EXPECT_TRUE(client.update(4, nullptr, nullptr));
    EXPECT_TRUE(client.update(4, &withoutIsPlaying, &recorder));
    EXPECT_TRUE(client.update(5, &callbacks, &recorder));  // paused
    recorder.playing = true;
    EXPECT_TRUE(client.update(5, &callbacks, &recorder));
    EXPECT_TRUE(client.update(5, &callbacks, &recorder));
    EXPECT_TRUE(client.update(6, &callbacks, &recorder));
    recorder.playing = false;
    EXPECT_TRUE(client.update(7, &callbacks, &recorder));
    recorder.playing = true;
    EXPECT_TRUE(client.update(8, &callbacks, &recorder));

    Bytes expected = setRowCommand(5) + setRowCommand(6) + setRowCommand(8);
    EXPECT_EQ(peer.read(expected.size()), expected);
    EXPECT_FALSE(peer.hasData(100));
    EXPECT_EQ(client.lastRowSent(), 8);

    // A tracker connecting afresh is told the row, though the demo has not moved.
    TrackerPeer next = connectClient();
    EXPECT_TRUE(client.update(8, &callbacks, &recorder));
    EXPECT_EQ(next.read(5), setRowCommand(8));
}

TEST_F(SyncClientTest, MalformedCommandsDropTheConnection) {
    SyncTrack* track = client.getTrack("a");
    struct Case {
        const char* what;
        Bytes bytes;
        const char* diagnostic;
    };
    const Case cases[] = {
        {"SetKey for a track never requested", setKeyCommand(1, 0, 1.0f, Step), nullptr},
        {"SetKey with kind 4", setKeyCommand(0, 0, 1.0f, 4), nullptr},
        {"DeleteKey for a track never requested", deleteKeyCommand(7, 0), nullptr},
        {"unknown command byte", Bytes{0x2a}, "unknown cmd: 2a\n"},
        {"the client's own RequestTrack byte", requestTrackBytes("a"), "unknown cmd: 02\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TrackerPeer peer = connectClient();
        platform::DebugCapture capture;
        peer.send(c.bytes + setKeyCommand(0, 99, 1.0f, Step));  // must never be applied
        EXPECT_TRUE(updateUntilLost());
        EXPECT_FALSE(client.isConnected());
        EXPECT_TRUE(peer.closedByClient());
        EXPECT_TRUE(track->keys.empty());
        if (c.diagnostic) {
            EXPECT_EQ(capture.text(), c.diagnostic);
        }
    }
}

TEST_F(SyncClientTest, ACommandCutShortDropsTheConnection) {
    client.setTimeout(100);
    SyncTrack* track = client.getTrack("a");
    {
        TrackerPeer peer = connectClient();
        peer.send(Bytes{0, 0, 0});  // a SetKey that stops inside its track index, then silence
        EXPECT_TRUE(updateUntilLost());
    }
    {
        TrackerPeer peer = connectClient();
        peer.send(Bytes{0} + be32(0) + be32(4));
        peer.close();
        EXPECT_TRUE(updateUntilLost());
    }
    EXPECT_TRUE(track->keys.empty());
}

TEST_F(SyncClientTest, TracksLoadFromTheirFilesWhileNotConnected) {
    directory.folder().write("sync_cam-3Apos-20x.track", Bytes{2, 0, 0, 0} + fileKey(0, 1.0f, 1) + fileKey(4, 3.0f, 0));
    SyncTrack* withFile = client.getTrack("cam:pos x");
    SyncTrack* withoutFile = client.getTrack("other");
    EXPECT_TRUE(withFile->loadedFromFile);
    EXPECT_DOUBLE_EQ(getValue(*withFile, 1.0), 1.5);
    EXPECT_FALSE(withoutFile->loadedFromFile);
    EXPECT_TRUE(withoutFile->keys.empty());

    // The tracker's state replaces the files'.
    TrackerPeer peer = connectClient();
    EXPECT_TRUE(withFile->keys.empty());
    EXPECT_FALSE(withFile->loadedFromFile);
}

TEST_F(SyncClientTest, PlaybackClientNeverTouchesTheNetwork) {
    directory.folder().write("sync_fov.track", Bytes{1, 0, 0, 0} + fileKey(0, 60.0f, 0));
    SyncClient playback("sync", SyncClient::Mode::Playback);
    playback.setTrackerAddress("127.0.0.1", tracker.port());

    EXPECT_FALSE(playback.connect());
    Recorder seen;
    seen.playing = true;
    SyncCallbacks callbacks = seen.callbacks();
    EXPECT_TRUE(playback.update(12, &callbacks, &seen));
    EXPECT_FALSE(tracker.hasPendingClient(100));
    EXPECT_TRUE(playback.getTrack("fov")->loadedFromFile);
    EXPECT_EQ(getValue(*playback.getTrack("fov"), 3.0), 60.0);
    EXPECT_FALSE(playback.getTrack("missing")->loadedFromFile);
    EXPECT_FALSE(playback.isConnected());
}

TEST_F(SyncClientTest, SaveTracksStopsAtTheFirstTrackThatCannotBeWritten) {
    directory.folder().write("sync_blocked", "a file where a folder is needed");
    client.getTrack("first");
    client.getTrack("blocked/x");
    client.getTrack("last");
    platform::DebugCapture capture;
    EXPECT_FALSE(client.saveTracks());
    EXPECT_TRUE(std::filesystem::exists(directory.folder().file("sync_first.track")));
    EXPECT_FALSE(std::filesystem::exists(directory.folder().file("sync_last.track")));
}

}  // namespace
}  // namespace vorn::sync
