// The engine over the real tracker client: a loopback tracker in the test
// speaks the tracker side, the engine's frame does the rest.
#include "engine/RocketSyncConnection.h"

#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "engine/Engine.h"
#include "tests/engine/FakeAudioOutput.h"
#include "tests/engine/TestNodes.h"
#include "tests/support/FakeTracker.h"
#include "tests/support/WorkingDirectory.h"

namespace vorn::engine {
namespace {

using test::Bytes;
using test::TrackerPeer;
using test::operator+;
using test::pauseCommand;
using test::requestTrackBytes;
using test::setKeyCommand;
using test::setRowCommand;

struct LiveScene {
    test::WorkingDirectory directory;  // where SaveTracks would write
    test::FakeTracker tracker;
    test::FakeAudioState audio;
    Engine engine{std::make_unique<test::FakeAudioOutput>(audio)};
    int resolves = 0;  // connection attempts of every client made

    LiveScene() {
        test::registerTestNodeTypes(engine.factory);
        engine.syncConnectionFactory = [this](const std::string& base) {
            auto client = std::make_unique<sync::SyncClient>(base);
            client->setResolver([this] {
                ++resolves;
                return std::vector<platform::TcpAddress>{tracker.address()};
            });
            client->setTimeout(500);
            return std::make_unique<RocketSyncConnection>(std::move(client));
        };
        engine.initialise();
        engine.bpmText = "120";  // 16 rows per second
        engine.createNode("Glow 1", "TestImage");
        engine.createNode("Viewer 1", "TestViewer");
        engine.update(0.0f);  // loads the sound
    }
    test::TestImageNode& glow() { return *static_cast<test::TestImageNode*>(engine.findNode("Glow 1")); }

    TrackerPeer connect() {
        auto pending = tracker.acceptAsync();
        EXPECT_TRUE(engine.connectSync());
        return pending.get();
    }
    // Runs frames until done() holds; false when it never did within 2 s.
    bool framesUntil(const std::function<bool()>& done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
        while (std::chrono::steady_clock::now() < deadline) {
            engine.update(0.0f);
            if (done()) return true;
        }
        return false;
    }
};

// Keys on the tracker side that make a track's value equal the row.
Bytes rampKeys(uint32_t track) { return setKeyCommand(track, 0, 0.0f, 1) + setKeyCommand(track, 1000, 1000.0f, 1); }

TEST(RocketSyncConnectionTest, TheDefaultMakersAreTheTrackerClientAndTheTrackFilePlayer) {
    Engine engine;
    auto live = engine.syncConnectionFactory("sync");
    auto playback = engine.syncPlaybackFactory("sync");
    EXPECT_EQ(dynamic_cast<RocketSyncConnection&>(*live).client().mode(), sync::SyncClient::Mode::Live);
    EXPECT_EQ(dynamic_cast<RocketSyncConnection&>(*playback).client().mode(), sync::SyncClient::Mode::Playback);
}

TEST(RocketSyncConnectionTest, OfflineLinksFollowTheNodesOwnTracksAndAreReadAtTheExactRowOfTheMusic) {
    LiveScene s;
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    TrackerPeer peer = s.connect();
    EXPECT_EQ(peer.greeting, "hello, synctracker!");
    Bytes requests = requestTrackBytes("Glow 1#own") + requestTrackBytes("glow:amount");
    EXPECT_EQ(peer.read(requests.size()), requests);
    s.engine.music->startPlayback(0.0f);
    s.audio.position = 1031;

    peer.send(rampKeys(1));
    ASSERT_TRUE(s.framesUntil([&] { return s.glow().amount != 0.0f; }));
    EXPECT_FLOAT_EQ(s.engine.rowsPerSecond, 16.0f);
    EXPECT_FLOAT_EQ(s.glow().amount, float(16.496));  // 1.031 s x 16 rows, not rounded
    EXPECT_EQ(s.glow().ownSync, 0.0f);                 // track 1 is the link's
    EXPECT_EQ(peer.read(5), setRowCommand(16));        // 16.496 rounds down
    EXPECT_FALSE(peer.hasData(50));                    // the same row is not reported again

    s.audio.position = 1032;
    s.engine.update(0.0f);
    EXPECT_FLOAT_EQ(s.glow().amount, float(16.512));
    EXPECT_EQ(peer.read(5), setRowCommand(17));  // 16.512 rounds up
}

TEST(RocketSyncConnectionTest, KeyframesWinOverTrackValues) {
    LiveScene s;
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    s.engine.ensureTracks("Glow 1", "Amount");
    s.engine.tracksByNode["Glow 1"][0].keys = {{7.0f, 0.0f, Linear}};
    TrackerPeer peer = s.connect();
    peer.send(setKeyCommand(1, 0, 3.0f, 0) + setKeyCommand(0, 0, 5.0f, 0));
    ASSERT_TRUE(s.framesUntil([&] { return s.glow().ownSync == 5.0f; }));
    EXPECT_EQ(s.glow().amount, 7.0f);
}

TEST(RocketSyncConnectionTest, UnlinkKeepsTheBindingUntilTheNextConnection) {
    LiveScene s;
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    TrackerPeer first = s.connect();
    first.read((requestTrackBytes("Glow 1#own") + requestTrackBytes("glow:amount")).size());
    EXPECT_TRUE(s.engine.unlinkSyncTrack("Glow 1", "glow:amount"));
    EXPECT_FALSE(s.engine.isSyncLinked("Glow 1", "Amount"));
    first.send(setKeyCommand(1, 0, 2.0f, 0));
    EXPECT_TRUE(s.framesUntil([&] { return s.glow().amount == 2.0f; }));

    TrackerPeer second = s.connect();  // a fresh client: only what is still bound
    EXPECT_TRUE(first.closedByClient());
    EXPECT_EQ(second.read(requestTrackBytes("Glow 1#own").size()), requestTrackBytes("Glow 1#own"));
    EXPECT_FALSE(second.hasData(50));
    ASSERT_EQ(s.engine.syncBindings.size(), 1u);
    EXPECT_EQ(s.engine.syncBindings[0].trackName, "Glow 1#own");
}

TEST(RocketSyncConnectionTest, ALostTrackerIsReconnectedInTheSameFrameAndEveryTrackRequestedAgain) {
    LiveScene s;
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    TrackerPeer first = s.connect();
    Bytes requests = requestTrackBytes("Glow 1#own") + requestTrackBytes("glow:amount");
    first.read(requests.size());
    first.send(setKeyCommand(1, 0, 2.0f, 0));
    ASSERT_TRUE(s.framesUntil([&] { return s.glow().amount == 2.0f; }));
    EXPECT_EQ(s.resolves, 1);

    auto pending = s.tracker.acceptAsync();
    first.close();
    ASSERT_TRUE(s.framesUntil([&] { return s.resolves == 2; }));
    TrackerPeer second = pending.get();
    ASSERT_TRUE(second.valid());
    EXPECT_EQ(second.read(requests.size()), requests);  // same tracks, same indices
    s.engine.update(0.0f);
    EXPECT_EQ(s.glow().amount, 0.0f);  // the old keys are gone: the tracker's state replaces them

    second.send(setKeyCommand(1, 0, 6.0f, 0));
    EXPECT_TRUE(s.framesUntil([&] { return s.glow().amount == 6.0f; }));
    EXPECT_EQ(s.resolves, 2);  // connected: no further attempts
}

TEST(RocketSyncConnectionTest, WithoutATrackerEachFrameTriesOnceAndALateTrackerGetsTheWholeSequence) {
    LiveScene s;
    bool trackerUp = false;
    platform::TcpAddress nobody = [] { return test::FakeTracker().address(); }();
    s.engine.syncConnectionFactory = [&](const std::string& base) {
        auto client = std::make_unique<sync::SyncClient>(base);
        client->setResolver([&] {
            ++s.resolves;
            return std::vector<platform::TcpAddress>{trackerUp ? s.tracker.address() : nobody};
        });
        return std::make_unique<RocketSyncConnection>(std::move(client));
    };
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    s.glow().amount = 3.0f;
    EXPECT_FALSE(s.engine.connectSync());
    for (int frame = 0; frame < 3; ++frame) s.engine.update(0.0f);
    EXPECT_EQ(s.resolves, 4);
    EXPECT_TRUE(s.engine.syncBindings.empty());
    EXPECT_EQ(s.glow().amount, 3.0f);  // nothing bound: the value stands

    trackerUp = true;
    auto pending = s.tracker.acceptAsync();
    s.engine.update(0.0f);  // this frame's retry connects
    TrackerPeer peer = pending.get();
    Bytes requests = requestTrackBytes("Glow 1#own") + requestTrackBytes("glow:amount");
    EXPECT_EQ(peer.read(requests.size()), requests);
    peer.send(setKeyCommand(1, 0, 4.0f, 0) + pauseCommand(0));
    EXPECT_TRUE(s.framesUntil([&] { return s.glow().amount == 4.0f && s.engine.isPlaying(); }));
    EXPECT_EQ(s.engine.syncBindings.size(), 2u);  // bound once
}

TEST(RocketSyncConnectionTest, TheTrackerSteersTheMusicAndHearsRowsOnlyDuringPlayback) {
    LiveScene s;
    TrackerPeer peer = s.connect();
    peer.read(requestTrackBytes("Glow 1#own").size());

    for (int frame = 0; frame < 3; ++frame) s.engine.update(0.0f);
    EXPECT_FALSE(peer.hasData(50));  // not playing: no rows

    // The tracker says 0 when it plays and 1 when it pauses.
    peer.send(pauseCommand(0));  // never started: plays from the start
    ASSERT_TRUE(s.framesUntil([&] { return s.audio.plays == 1; }));
    EXPECT_TRUE(s.engine.isPlaying());
    EXPECT_EQ(peer.read(5), setRowCommand(0));

    peer.send(setRowCommand(40));  // 40 / 16 = 2.5 s
    ASSERT_TRUE(s.framesUntil([&] { return s.audio.position == 2500u; }));
    EXPECT_FLOAT_EQ(s.engine.time, 2.5f);
    s.engine.update(0.0f);
    EXPECT_EQ(peer.read(5), setRowCommand(40));  // the row now playing

    peer.send(pauseCommand(1));
    ASSERT_TRUE(s.framesUntil([&] { return s.audio.isPaused; }));
    peer.send(pauseCommand(0));
    ASSERT_TRUE(s.framesUntil([&] { return !s.audio.isPaused; }));
    EXPECT_EQ(s.audio.plays, 1);  // resumed, not restarted

    s.engine.disconnectSync();
    EXPECT_TRUE(peer.closedByClient());
    EXPECT_TRUE(s.audio.isPaused);
    EXPECT_EQ(s.engine.syncClient, nullptr);
    s.audio.position = 4000;
    s.engine.update(0.0f);
    EXPECT_EQ(s.resolves, 1);  // no client: no attempts
}

TEST(RocketSyncConnectionTest, ConnectingAfterTrackPlaybackTalksToTheTracker) {
    LiveScene s;
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    ASSERT_TRUE(s.engine.startTrackPlayback());  // no files here: nothing bound
    EXPECT_TRUE(s.engine.syncBindings.empty());

    TrackerPeer peer = s.connect();
    Bytes requests = requestTrackBytes("Glow 1#own") + requestTrackBytes("glow:amount");
    EXPECT_EQ(peer.read(requests.size()), requests);
    EXPECT_FALSE(s.engine.syncPlayback);
    s.engine.music->startPlayback(0.0f);
    s.audio.position = 1000;
    s.engine.update(0.0f);
    EXPECT_EQ(peer.read(5), setRowCommand(16));
}

}  // namespace
}  // namespace vorn::engine
