#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "tests/engine/FakeAudioOutput.h"
#include "tests/engine/FakeSyncConnection.h"
#include "tests/engine/TestNodes.h"

namespace vorn::engine {
namespace {

struct Scene {
    test::FakeAudioState audio;
    test::FakeSyncState sync;
    Engine engine{std::make_unique<test::FakeAudioOutput>(audio)};
    std::vector<std::string> clientBases;

    Scene() {
        test::registerTestNodeTypes(engine.factory);
        engine.syncConnectionFactory = [this](const std::string& base) {
            clientBases.push_back(base);
            return std::make_unique<test::FakeSyncConnection>(sync);
        };
        engine.initialise();
        engine.createNode("Glow 1", "TestImage");
        engine.createNode("Viewer 1", "TestViewer");
        engine.update(0.0f);  // loads the sound
    }
    test::TestImageNode& glow() { return *static_cast<test::TestImageNode*>(engine.findNode("Glow 1")); }
    std::vector<std::string> linkedTracks() {
        std::vector<std::string> names;
        for (const auto& link : engine.syncLinks) names.push_back(link.trackName);
        return names;
    }
};

TEST(EngineSyncTest, LinksMadeOfflineAreRecordedAndBoundOnConnection) {
    Scene s;
    EXPECT_TRUE(s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount"));
    EXPECT_TRUE(s.engine.syncBindings.empty());
    EXPECT_TRUE(s.engine.isSyncLinked("Glow 1", "Amount"));
    EXPECT_FALSE(s.engine.isSyncLinked("Glow 1", "Offset"));

    ASSERT_TRUE(s.engine.connectSync());
    EXPECT_EQ(s.clientBases, (std::vector<std::string>{"sync"}));
    EXPECT_FLOAT_EQ(s.engine.bpm, 125.0f);
    ASSERT_EQ(s.engine.syncBindings.size(), 2u);  // the node's own binding, then the link
    EXPECT_EQ(s.engine.syncBindings[0].trackName, "Glow 1#own");
    EXPECT_EQ(s.engine.syncBindings[1].trackName, "glow:amount");
    EXPECT_EQ(s.engine.syncBindings[1].target, &s.glow().amount);
    EXPECT_EQ(s.linkedTracks(), (std::vector<std::string>{"glow:amount"}));  // not doubled by relinking
}

TEST(EngineSyncTest, LinkingRefusesWhatCannotBeBound) {
    Scene s;
    EXPECT_FALSE(s.engine.linkSyncTrack("Nobody", "t", "Amount"));
    EXPECT_FALSE(s.engine.linkSyncTrack("Glow 1", "t", "Offset"));  // not a float
    EXPECT_FALSE(s.engine.linkSyncTrack("Glow 1", "t", "Missing"));
    EXPECT_TRUE(s.engine.syncLinks.empty());

    ASSERT_TRUE(s.engine.connectSync());
    EXPECT_TRUE(s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount"));
    EXPECT_FALSE(s.engine.linkSyncTrack("Glow 1", "glow:amount", "Scale.X"));  // track already bound
    EXPECT_EQ(s.linkedTracks(), (std::vector<std::string>{"glow:amount"}));
    EXPECT_EQ(s.engine.syncLinks[0].parameterName, "Amount");
}

TEST(EngineSyncTest, UnlinkRemovesByTrackNameOnly) {
    Scene s;
    s.engine.linkSyncTrack("Glow 1", "a", "Amount");
    s.engine.linkSyncTrack("Glow 1", "b", "Scale.X");
    s.engine.linkSyncTrack("Glow 1", "c", "Scale.Y");
    EXPECT_FALSE(s.engine.unlinkSyncTrack("Glow 1", "unknown"));
    EXPECT_EQ(s.engine.syncLinks.size(), 3u);
    EXPECT_TRUE(s.engine.unlinkSyncTrack("someone else", "b"));
    EXPECT_EQ(s.linkedTracks(), (std::vector<std::string>{"a", "c"}));
}

TEST(EngineSyncTest, IsSyncLinkedFollowsTheNodesCurrentName) {
    Scene s;
    s.engine.linkSyncTrack("Glow 1", "a", "Amount");
    s.glow().name = "Renamed";
    EXPECT_FALSE(s.engine.isSyncLinked("Glow 1", "Amount"));
    EXPECT_TRUE(s.engine.isSyncLinked("Renamed", "Amount"));
}

TEST(EngineSyncTest, EachFrameReportsTheRoundedRowAndReadsTracksAtTheExactRow) {
    Scene s;
    s.sync.bases["glow:amount"] = 100.0;
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    s.engine.bpmText = "120";
    ASSERT_TRUE(s.engine.connectSync());
    s.engine.music->startPlayback(0.0f);
    s.audio.position = 1031;

    s.engine.update(0.0f);
    EXPECT_FLOAT_EQ(s.engine.rowsPerSecond, 16.0f);
    EXPECT_EQ(s.sync.rowsReported, (std::vector<uint32_t>{16}));
    EXPECT_FLOAT_EQ(s.glow().amount, float(100.0 + 16.496));
    EXPECT_EQ(s.sync.isPlayingAnswer, 1);

    s.audio.position = 1032;
    s.engine.update(0.0f);
    EXPECT_EQ(s.sync.rowsReported.back(), 17u);
    EXPECT_NEAR(s.sync.rowsRead.back(), 16.512, 1e-9);
}

TEST(EngineSyncTest, KeyframesWinOverTheSyncValue) {
    Scene s;
    s.sync.bases["Glow 1#own"] = 3.0;
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    s.engine.ensureTracks("Glow 1", "Amount");
    s.engine.tracksByNode["Glow 1"][0].keys = {{7.0f, 0.0f, Linear}};
    ASSERT_TRUE(s.engine.connectSync());
    s.engine.update(0.0f);
    EXPECT_FLOAT_EQ(s.glow().amount, 7.0f);
    EXPECT_FLOAT_EQ(s.glow().ownSync, 3.0f);  // row 0: the member bound by the node itself got its track's value
}

TEST(EngineSyncTest, ALostConnectionIsRetriedInTheSameFrame) {
    Scene s;
    ASSERT_TRUE(s.engine.connectSync());
    EXPECT_EQ(s.sync.connects, 1);
    s.sync.updateSucceeds = false;
    s.engine.update(0.0f);
    s.engine.update(0.0f);
    EXPECT_EQ(s.sync.connects, 3);
}

TEST(EngineSyncTest, AFailedConnectionKeepsTheClientAndBindsNothing) {
    Scene s;
    s.sync.connectSucceeds = false;
    s.engine.linkSyncTrack("Glow 1", "a", "Amount");
    EXPECT_FALSE(s.engine.connectSync());
    EXPECT_NE(s.engine.syncClient, nullptr);
    EXPECT_TRUE(s.engine.syncBindings.empty());
    s.engine.update(0.0f);
    EXPECT_EQ(s.sync.connects, 2);  // retried by the frame
}

TEST(EngineSyncTest, ReplacingTheClientDropsBindingsIntoTheOldOne) {
    Scene s;
    s.engine.linkSyncTrack("Glow 1", "a", "Amount");
    ASSERT_TRUE(s.engine.connectSync());
    ASSERT_FALSE(s.engine.syncBindings.empty());
    s.sync.connectSucceeds = false;
    EXPECT_FALSE(s.engine.connectSync());
    EXPECT_TRUE(s.engine.syncBindings.empty());
    s.engine.update(0.0f);  // would read the destroyed client's tracks otherwise
}

TEST(EngineSyncTest, TrackerCommandsSteerTheMusic) {
    Scene s;
    s.engine.bpmText = "120";
    ASSERT_TRUE(s.engine.connectSync());
    s.engine.update(0.0f);  // rowsPerSecond 16

    // The tracker's flag: nonzero when it pauses, zero when it plays.
    s.sync.pauseFlags = {1};  // not started yet: nothing to pause
    s.engine.update(0.0f);
    EXPECT_EQ(s.audio.plays, 0);
    EXPECT_FALSE(s.engine.isPlaying());

    s.sync.pauseFlags = {0};  // starts playback
    s.engine.update(0.0f);
    EXPECT_EQ(s.audio.plays, 1);
    EXPECT_TRUE(s.engine.isPlaying());

    s.sync.seekRows = {40};  // 40 / 16 = 2.5 s
    s.engine.update(0.0f);
    EXPECT_FLOAT_EQ(s.engine.time, 2.5f);
    EXPECT_EQ(s.audio.position, 2500u);

    s.sync.pauseFlags = {7};
    s.engine.update(0.0f);
    EXPECT_TRUE(s.audio.isPaused);
    s.sync.pauseFlags = {0};
    s.engine.update(0.0f);
    EXPECT_FALSE(s.audio.isPaused);
    EXPECT_EQ(s.audio.plays, 1);

    s.engine.disconnectSync();
    EXPECT_EQ(s.engine.syncClient, nullptr);
    EXPECT_TRUE(s.engine.syncBindings.empty());
    EXPECT_TRUE(s.audio.isPaused);
}

TEST(EngineSyncTest, BindFloatBindsEachTrackNameOnce) {
    Scene s;
    float a = 0.0f, b = 0.0f;
    EXPECT_TRUE(s.engine.bindFloat("t", &a));  // offline: nothing bound
    EXPECT_TRUE(s.engine.bindFloat("t", &b));
    ASSERT_TRUE(s.engine.connectSync());
    EXPECT_TRUE(s.engine.bindFloat("t", &a));
    EXPECT_FALSE(s.engine.bindFloat("t", &b));
    EXPECT_EQ(s.sync.requested.back(), "t");
}

}  // namespace
}  // namespace vorn::engine
