// Sync links and bindings over a scripted connection; the wire-level
// behaviour is in RocketSyncConnectionTest, against a loopback tracker.
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

    Scene() {
        test::registerTestNodeTypes(engine.factory);
        engine.syncConnectionFactory = [this](const std::string&) {
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

TEST(EngineSyncTest, OnlyFloatsOfLiveNodesLinkAndATrackBindsOnce) {
    Scene s;
    EXPECT_FALSE(s.engine.linkSyncTrack("Nobody", "t", "Amount"));
    EXPECT_FALSE(s.engine.linkSyncTrack("Glow 1", "t", "Offset"));  // not a float
    EXPECT_FALSE(s.engine.linkSyncTrack("Glow 1", "t", "Missing"));
    EXPECT_TRUE(s.engine.linkSyncTrack("Glow 1", "a", "Amount"));
    EXPECT_TRUE(s.engine.linkSyncTrack("Glow 1", "b", "Scale.X"));
    EXPECT_TRUE(s.engine.syncBindings.empty());  // offline: recorded, not bound

    ASSERT_TRUE(s.engine.connectSync());
    EXPECT_FALSE(s.engine.linkSyncTrack("Glow 1", "a", "Scale.Y"));  // track already bound
    EXPECT_EQ(s.linkedTracks(), (std::vector<std::string>{"a", "b"}));
    float other = 0.0f;
    EXPECT_FALSE(s.engine.bindFloat("a", &other));

    EXPECT_FALSE(s.engine.unlinkSyncTrack("Glow 1", "unknown"));
    EXPECT_TRUE(s.engine.unlinkSyncTrack("someone else", "a"));  // by track name only
    EXPECT_EQ(s.linkedTracks(), (std::vector<std::string>{"b"}));
    s.glow().name = "Renamed";
    EXPECT_TRUE(s.engine.isSyncLinked("Renamed", "Scale.X"));  // follows the node's current name
}

TEST(EngineSyncTest, ReplacingTheClientDropsBindingsIntoTheOldOne) {
    Scene s;
    s.engine.linkSyncTrack("Glow 1", "a", "Amount");
    ASSERT_TRUE(s.engine.connectSync());
    ASSERT_FALSE(s.engine.syncBindings.empty());
    s.sync.connectSucceeds = false;
    EXPECT_FALSE(s.engine.connectSync());
    EXPECT_NE(s.engine.syncClient, nullptr);  // kept, for the frames to retry
    EXPECT_TRUE(s.engine.syncBindings.empty());
    s.engine.update(0.0f);  // would read the destroyed client's tracks otherwise
    EXPECT_EQ(s.sync.connects, 3);
}

}  // namespace
}  // namespace vorn::engine
