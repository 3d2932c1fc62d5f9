// Playback of ".track" files as the player does it: load the project, start
// track playback, and let the frames run at the music position.
#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "engine/RocketSyncConnection.h"
#include "sync/TrackFile.h"
#include "tests/engine/FakeAudioOutput.h"
#include "tests/engine/TestNodes.h"
#include "tests/support/FakeTracker.h"
#include "tests/support/WorkingDirectory.h"

namespace vorn::engine {
namespace {

void writeTrack(const std::string& name, std::vector<sync::SyncKey> keys) {
    sync::SyncTrack track;
    track.name = name;
    track.keys = std::move(keys);
    ASSERT_TRUE(sync::saveTrackFile(track, sync::trackPath("sync", name)));
}

struct Player {
    test::FakeAudioState audio;
    Engine engine{std::make_unique<test::FakeAudioOutput>(audio)};

    Player() {
        test::registerTestNodeTypes(engine.factory);
        engine.initialise();
    }
    test::TestImageNode& glow() { return *static_cast<test::TestImageNode*>(engine.findNode("Glow 1")); }
    // Starts the music and runs one frame at ms.
    void frameAt(uint32_t ms) {
        if (!engine.music->started) {
            engine.update(0.0f);  // loads the sound
            engine.music->startPlayback(0.0f);
        }
        audio.position = ms;
        engine.update(0.0f);
    }
};

// "demo.vorn": Amount linked to a track that has a file, Scale.X to one that
// has none, Translate.Y to one whose file is damaged.
void writeProject() {
    Player author;
    author.engine.createNode("Glow 1", "TestImage");
    author.engine.createNode("Viewer 1", "TestViewer");
    author.engine.connect("Glow 1", "Viewer 1", 0);
    author.glow().scale[0] = 2.5f;
    author.glow().translate[1] = -1.5f;
    ASSERT_TRUE(author.engine.linkSyncTrack("Glow 1", "fx:amount", "Amount"));
    ASSERT_TRUE(author.engine.linkSyncTrack("Glow 1", "fx:scale", "Scale.X"));
    ASSERT_TRUE(author.engine.linkSyncTrack("Glow 1", "fx:shift", "Translate.Y"));
    ASSERT_TRUE(author.engine.saveProject("demo.vorn"));
}

class TrackPlaybackTest : public ::testing::Test {
protected:
    void SetUp() override {
        writeProject();
        // From 0 at row 0 to 10 at row 160, linear.
        writeTrack("fx:amount", {{0, 0.0f, sync::Linear}, {160, 10.0f, sync::Linear}});
        writeTrack("Glow 1#own", {{0, 42.0f, sync::Step}});
        directory.folder().write(sync::trackPath("sync", "fx:shift"), std::vector<uint8_t>{7, 0});
    }
    test::WorkingDirectory directory;
};

TEST_F(TrackPlaybackTest, OnlyParametersWithATrackFileAnimate) {
    Player player;
    ASSERT_TRUE(player.engine.loadProject("demo.vorn", true, ""));
    ASSERT_TRUE(player.engine.startTrackPlayback());
    EXPECT_TRUE(player.engine.syncPlayback);
    ASSERT_EQ(player.engine.syncBindings.size(), 2u);  // the node's own track, then the link with a file
    EXPECT_EQ(player.engine.syncBindings[0].trackName, "Glow 1#own");
    EXPECT_EQ(player.engine.syncBindings[1].trackName, "fx:amount");

    // bpm 125: 50/3 rows per second, so 1.2 s is row 20 and 2.4 s row 40.
    player.frameAt(1200);
    EXPECT_NEAR(player.glow().amount, 1.25f, 1e-5);
    player.frameAt(2400);
    EXPECT_NEAR(player.glow().amount, 2.5f, 1e-5);
    player.frameAt(60000);
    EXPECT_FLOAT_EQ(player.glow().amount, 10.0f);  // past the last key
    EXPECT_FLOAT_EQ(player.glow().ownSync, 42.0f);

    EXPECT_FLOAT_EQ(player.glow().scale[0], 2.5f);       // no file: the saved value stands
    EXPECT_FLOAT_EQ(player.glow().translate[1], -1.5f);  // damaged file: likewise
    EXPECT_EQ(player.engine.syncLinks.size(), 3u);       // every link is kept for the next save
}

// Counts what the engine asks of its client.
class WatchedPlayback : public RocketSyncConnection {
public:
    WatchedPlayback(std::unique_ptr<sync::SyncClient> client, int& calls)
        : RocketSyncConnection(std::move(client)), calls_(calls) {}
    bool connect() override {
        ++calls_;
        return RocketSyncConnection::connect();
    }
    bool update(uint32_t row, const SyncCallbacks* callbacks, void* context) override {
        ++calls_;
        return RocketSyncConnection::update(row, callbacks, context);
    }

private:
    int& calls_;
};

TEST_F(TrackPlaybackTest, NoSocketNoExchangeNoCallbacks) {
    test::FakeTracker tracker;
    int resolves = 0;
    int exchanges = 0;
    Player player;
    player.engine.syncPlaybackFactory = [&](const std::string& base) {
        auto client = sync::SyncClient::createPlaybackClient(base);
        client->setResolver([&] {
            ++resolves;
            return std::vector<platform::TcpAddress>{tracker.address()};
        });
        return std::make_unique<WatchedPlayback>(std::move(client), exchanges);
    };
    ASSERT_TRUE(player.engine.loadProject("demo.vorn", true, ""));
    ASSERT_TRUE(player.engine.startTrackPlayback());
    for (uint32_t ms : {0u, 1200u, 2400u}) player.frameAt(ms);

    EXPECT_NEAR(player.glow().amount, 2.5f, 1e-5);
    EXPECT_EQ(resolves, 0);
    EXPECT_EQ(exchanges, 0);
    EXPECT_FALSE(tracker.hasPendingClient(50));
    EXPECT_EQ(player.engine.syncCallbacks.pause, nullptr);
    EXPECT_EQ(player.engine.syncCallbacks.setRow, nullptr);
    EXPECT_EQ(player.engine.syncCallbacks.isPlaying, nullptr);
}

TEST_F(TrackPlaybackTest, ALoadOrLeavingPlaybackDropsTheBindingsButNotTheMusic) {
    Player player;
    ASSERT_TRUE(player.engine.loadProject("demo.vorn", true, ""));
    ASSERT_TRUE(player.engine.startTrackPlayback());
    ASSERT_TRUE(player.engine.loadProject("demo.vorn", true, ""));
    EXPECT_TRUE(player.engine.syncBindings.empty());
    player.frameAt(1200);  // would write into the old nodes otherwise
    EXPECT_FLOAT_EQ(player.glow().amount, 1.0f);  // the saved value (the parameter's default)

    ASSERT_TRUE(player.engine.startTrackPlayback());
    player.frameAt(1200);
    EXPECT_NEAR(player.glow().amount, 1.25f, 1e-5);
    player.engine.disconnectSync();
    EXPECT_FALSE(player.audio.isPaused);
    EXPECT_FALSE(player.engine.syncPlayback);
    player.frameAt(2400);
    EXPECT_NEAR(player.glow().amount, 1.25f, 1e-5);  // no longer driven
}

}  // namespace
}  // namespace vorn::engine
