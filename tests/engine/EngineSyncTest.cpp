// The engine's sync links over the real tracker client: a loopback tracker in
// the test speaks the tracker side, ".track" files stand in for it in playback,
// and the engine's frame does the rest.
#include <gtest/gtest.h>

#include <chrono>
#include <functional>

#include "engine/RocketSyncConnection.h"
#include "sync/TrackFile.h"
#include "tests/engine/EngineScene.h"
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

// "Glow 1" and a viewer at 16 rows a second; the clients look for the tracker
// only while trackerUp, else at a port nobody listens on.
struct LiveScene : test::EngineScene {
    test::WorkingDirectory directory;  // where track files are read and written
    test::FakeTracker tracker;
    platform::TcpAddress nobody = test::FakeTracker().address();
    bool trackerUp = true;
    int resolves = 0;  // connection attempts of every client made

    LiveScene() : EngineScene{"Glow 1"} {
        auto resolver = [this] {
            ++resolves;
            return std::vector<platform::TcpAddress>{trackerUp ? tracker.address() : nobody};
        };
        engine.syncConnectionFactory = [resolver](const std::string& base) {
            auto client = sync::SyncClient::createClient(base);
            client->setResolver(resolver);
            client->setTimeout(500);
            return std::make_unique<RocketSyncConnection>(std::move(client));
        };
        engine.syncPlaybackFactory = [resolver](const std::string& base) {
            auto client = sync::SyncClient::createPlaybackClient(base);
            client->setResolver(resolver);
            return std::make_unique<RocketSyncConnection>(std::move(client));
        };
        engine.bpmText = "120";
        engine.createNode("Viewer 1", "TestViewer");
        engine.update(0.0f);  // loads the sound
    }
    test::TestImageNode& glow() { return image("Glow 1"); }

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
    // One frame with the music at ms, started first if need be.
    void frameAt(uint32_t ms) {
        if (!engine.music->started) {
            engine.update(0.0f);
            engine.music->startPlayback(0.0f);
        }
        audio.position = ms;
        engine.update(0.0f);
    }
};

TEST(EngineSyncTest, LinkedFloatsAreReadAtTheExactRowOfTheMusicUnlessKeyframed) {
    LiveScene s;
    EXPECT_FALSE(s.engine.linkSyncTrack("Glow 1", "t", "Offset"));  // not a float
    EXPECT_TRUE(s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount"));
    EXPECT_TRUE(s.engine.linkSyncTrack("Glow 1", "glow:scale", "Scale.X"));
    EXPECT_TRUE(s.engine.syncBindings.empty());  // offline: recorded, not bound
    s.engine.ensureTracks("Glow 1", "Scale.X");
    s.track("Glow 1", "Glow 1.Scale.X")->keys = {{7.0f, 0.0f, Linear}};

    TrackerPeer peer = s.connect();
    Bytes own = requestTrackBytes("Glow 1#own");
    Bytes requests = own + requestTrackBytes("glow:amount") + requestTrackBytes("glow:scale");
    EXPECT_EQ(peer.read(requests.size()), requests);  // the node's own tracks, then the links
    EXPECT_FALSE(s.engine.linkSyncTrack("Glow 1", "glow:amount", "Scale.Y"));  // track already bound

    s.engine.music->startPlayback(0.0f);
    s.audio.position = 1031;
    for (uint32_t track : {1, 2})  // a value equal to the row
        peer.send(setKeyCommand(track, 0, 0.0f, 1) + setKeyCommand(track, 1000, 1000.0f, 1));
    peer.send(setKeyCommand(0, 0, 5.0f, 0));
    ASSERT_TRUE(s.framesUntil([&] { return s.glow().ownSync == 5.0f; }));
    EXPECT_FLOAT_EQ(s.glow().amount, float(16.496));  // 1.031 s x 16 rows, not rounded
    EXPECT_EQ(s.glow().scale[0], 7.0f);                // keyframes win over the track
    EXPECT_EQ(peer.read(5), setRowCommand(16));        // 16.496 rounds down
    EXPECT_FALSE(peer.hasData(50));                    // the same row is not reported again

    EXPECT_TRUE(s.engine.unlinkSyncTrack("someone else", "glow:amount"));  // by track name only
    EXPECT_FALSE(s.engine.isSyncLinked("Glow 1", "Amount"));
    s.audio.position = 1032;
    s.engine.update(0.0f);
    EXPECT_FLOAT_EQ(s.glow().amount, float(16.512));  // still bound until the next connection
    EXPECT_EQ(peer.read(5), setRowCommand(17));       // 16.512 rounds up

    TrackerPeer second = s.connect();  // a fresh client: only what is still linked
    EXPECT_TRUE(peer.closedByClient());
    requests = own + requestTrackBytes("glow:scale");
    EXPECT_EQ(second.read(requests.size()), requests);
}

TEST(EngineSyncTest, NoBindingOutlivesItsClientOrItsNode) {
    LiveScene s;
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    TrackerPeer first = s.connect();
    ASSERT_EQ(s.engine.syncBindings.size(), 2u);
    s.trackerUp = false;
    s.glow().amount = 3.0f;
    EXPECT_FALSE(s.engine.connectSync());
    EXPECT_TRUE(s.engine.syncBindings.empty());
    for (int frame = 0; frame < 3; ++frame)
        s.engine.update(0.0f);  // would read the destroyed client's tracks otherwise
    EXPECT_EQ(s.resolves, 5);   // the client is kept and tried once a frame
    EXPECT_EQ(s.glow().amount, 3.0f);
    s.trackerUp = true;
    auto pending = s.tracker.acceptAsync();
    s.engine.update(0.0f);  // this frame's retry connects: a late tracker gets the whole sequence
    TrackerPeer second = pending.get();
    Bytes requests = requestTrackBytes("Glow 1#own") + requestTrackBytes("glow:amount");
    EXPECT_EQ(second.read(requests.size()), requests);
    s.engine.linkSyncTrack("Glow 1", "glow:scale", "Scale.X");
    ASSERT_EQ(s.engine.syncBindings.size(), 3u);
    EXPECT_TRUE(s.engine.deleteNode("Glow 1"));
    EXPECT_TRUE(s.engine.syncBindings.empty());  // its parameters' and its own
    s.engine.update(0.0f);
}

TEST(EngineSyncTest, TheTrackerSteersTheMusicAndHearsRowsOnlyDuringPlayback) {
    LiveScene s;
    TrackerPeer peer = s.connect();
    Bytes requests = requestTrackBytes("Glow 1#own");
    peer.read(requests.size());
    for (int frame = 0; frame < 3; ++frame)
        s.engine.update(0.0f);
    EXPECT_FALSE(peer.hasData(50));  // not playing: no rows

    peer.send(pauseCommand(0));  // 0 plays; never started: plays from the start
    ASSERT_TRUE(s.framesUntil([&] { return s.audio.plays == 1; }));
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

    auto pending = s.tracker.acceptAsync();
    peer.close();
    ASSERT_TRUE(s.framesUntil([&] { return s.resolves == 2; }));
    TrackerPeer next = pending.get();
    EXPECT_EQ(next.read(requests.size()), requests);  // reconnected in the same frame, every track asked for
    s.engine.update(0.0f);
    EXPECT_EQ(next.read(5), setRowCommand(40));  // told the row, though the music has not moved

    s.engine.disconnectSync();
    EXPECT_TRUE(next.closedByClient());
    EXPECT_TRUE(s.audio.isPaused);
    s.engine.update(0.0f);
    EXPECT_EQ(s.resolves, 2);  // no client: no attempts
}

void writeTrack(const std::string& name, std::vector<sync::SyncKey> keys) {
    ASSERT_TRUE(sync::saveTrackFile(sync::SyncTrack{name, std::move(keys)}, sync::trackPath("sync", name)));
}

TEST(EngineSyncTest, TrackFilesPlayOnlyIntoLinksWithAFileAndNeverTouchTheNetwork) {
    LiveScene s;
    s.glow().translate[1] = -1.5f;
    ASSERT_TRUE(s.engine.linkSyncTrack("Glow 1", "fx:amount", "Amount"));
    ASSERT_TRUE(s.engine.linkSyncTrack("Glow 1", "fx:scale", "Scale.X"));
    ASSERT_TRUE(s.engine.linkSyncTrack("Glow 1", "fx:shift", "Translate.Y"));
    ASSERT_TRUE(s.engine.saveProject("demo.vorn"));
    writeTrack("fx:amount", {{0, 0.0f, sync::Linear}, {160, 10.0f, sync::Linear}});  // the row / 16
    writeTrack("Glow 1#own", {{0, 42.0f, sync::Step}});
    s.directory.folder().write(sync::trackPath("sync", "fx:shift"), Bytes{7, 0});  // damaged

    ASSERT_TRUE(s.engine.loadProject("demo.vorn", true, ""));  // as the player does
    ASSERT_TRUE(s.engine.startTrackPlayback());
    s.frameAt(2500);
    EXPECT_NEAR(s.glow().amount, 2.5f, 1e-5);
    EXPECT_FLOAT_EQ(s.glow().ownSync, 42.0f);
    EXPECT_FLOAT_EQ(s.glow().scale[0], 1.0f);       // no file: not bound, the saved value stands
    EXPECT_FLOAT_EQ(s.glow().translate[1], -1.5f);  // a damaged file likewise
    EXPECT_EQ(s.resolves, 0);
    EXPECT_FALSE(s.tracker.hasPendingClient(50));
    const SyncCallbacks& callbacks = s.engine.syncCallbacks;
    EXPECT_TRUE(!callbacks.pause && !callbacks.setRow && !callbacks.isPlaying);
    EXPECT_TRUE(s.engine.linkSyncTrack("Glow 1", "fx:new", "Scale.Y"));  // made though no file plays it
    EXPECT_EQ(s.engine.syncLinks.size(), 4u);

    ASSERT_TRUE(s.engine.loadProject("demo.vorn", true, ""));
    EXPECT_TRUE(s.engine.syncBindings.empty());
    s.frameAt(2500);  // would write into the old nodes otherwise
    EXPECT_FLOAT_EQ(s.glow().amount, 1.0f);  // the saved value
    ASSERT_TRUE(s.engine.startTrackPlayback());
    s.engine.disconnectSync();
    EXPECT_FALSE(s.audio.isPaused);  // leaving playback does not stop the show
    s.frameAt(4000);
    EXPECT_FLOAT_EQ(s.glow().amount, 1.0f);  // no longer driven

    ASSERT_TRUE(s.engine.startTrackPlayback());
    TrackerPeer peer = s.connect();  // the tracker takes over from the files
    Bytes requests = requestTrackBytes("Glow 1#own") + requestTrackBytes("fx:amount") + requestTrackBytes("fx:scale") +
                     requestTrackBytes("fx:shift");
    EXPECT_EQ(peer.read(requests.size()), requests);
    s.engine.update(0.0f);
    EXPECT_EQ(peer.read(5), setRowCommand(64));  // 4 s
    EXPECT_EQ(s.glow().amount, 0.0f);            // the tracker's keys replace the file's
}

}  // namespace
}  // namespace vorn::engine
