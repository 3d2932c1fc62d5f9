#include <gtest/gtest.h>

#include "engine/Engine.h"
#include "tests/engine/TestNodes.h"

namespace vorn::engine {
namespace {

struct Scene {
    Engine engine;
    test::TestImageNode* node = nullptr;

    Scene() {
        test::registerTestNodeTypes(engine.factory);
        engine.createNode("Glow 1", "TestImage");
        node = static_cast<test::TestImageNode*>(engine.findNode("Glow 1"));
    }
    const TrackList& tracks() { return engine.tracksByNode["Glow 1"]; }
    std::vector<std::string> trackNames() {
        std::vector<std::string> names;
        for (const auto& track : tracks()) names.push_back(track.trackName);
        return names;
    }
};

TEST(EngineKeyframesTest, EnsureTracksCreatesNamedTracksWithTargetsAndRanges) {
    Scene s;
    EXPECT_TRUE(s.engine.ensureTracks("Glow 1", "Amount"));
    EXPECT_TRUE(s.engine.ensureTracks("Glow 1", "Offset"));
    EXPECT_TRUE(s.engine.ensureTracks("Glow 1", "Color"));
    EXPECT_EQ(s.trackNames(), (std::vector<std::string>{"Glow 1.Amount", "Glow 1.Offset.x", "Glow 1.Offset.y",
                                                        "Glow 1.Color.r", "Glow 1.Color.g", "Glow 1.Color.b",
                                                        "Glow 1.Color.a"}));
    const TrackList& tracks = s.tracks();
    EXPECT_EQ(tracks[0].target, &s.node->amount);
    EXPECT_FLOAT_EQ(tracks[0].rangeMax, 10.0f);
    EXPECT_EQ(tracks[2].target, &s.node->offset[1]);
    EXPECT_FLOAT_EQ(tracks[2].rangeMin, -1.0f);
    EXPECT_FLOAT_EQ(tracks[2].rangeMax, 2.0f);
    EXPECT_EQ(tracks[6].target, &s.node->color[3]);
    EXPECT_FLOAT_EQ(tracks[6].rangeMin, 0.0f);
    EXPECT_FLOAT_EQ(tracks[6].rangeMax, 1.0f);
    for (const auto& track : tracks) {
        EXPECT_EQ(track.node, s.node);
        EXPECT_TRUE(track.keys.empty());
    }
}

TEST(EngineKeyframesTest, EnsureTracksRefusesWhatCannotOrNeedNotBeAnimated) {
    Scene s;
    EXPECT_TRUE(s.engine.ensureTracks("Glow 1", "Amount"));
    EXPECT_FALSE(s.engine.ensureTracks("Glow 1", "Amount"));  // already there
    EXPECT_FALSE(s.engine.ensureTracks("Glow 1", "Mode"));
    EXPECT_FALSE(s.engine.ensureTracks("Glow 1", "Enabled"));
    EXPECT_FALSE(s.engine.ensureTracks("Glow 1", "File"));
    EXPECT_FALSE(s.engine.ensureTracks("Glow 1", "Missing"));
    EXPECT_FALSE(s.engine.ensureTracks("Nobody", "Amount"));
    EXPECT_EQ(s.tracks().size(), 1u);
    EXPECT_EQ(s.engine.nodesByName.count("Nobody"), 0u);
}

TEST(EngineKeyframesTest, AddKeyframeKeysTheCurrentValuesAtTheEngineTime) {
    Scene s;
    s.engine.time = 2.0f;
    s.node->color[0] = 0.1f;
    s.node->color[3] = 0.9f;
    s.engine.addKeyframe("Glow 1", "Color");
    s.engine.time = 1.0f;
    s.node->color[0] = 0.3f;
    s.engine.addKeyframe("Glow 1", "Color");  // tracks exist: only keys are added
    const TrackList& tracks = s.tracks();
    ASSERT_EQ(tracks.size(), 4u);
    ASSERT_EQ(tracks[0].keys.size(), 2u);
    EXPECT_FLOAT_EQ(tracks[0].keys[0].time, 1.0f);
    EXPECT_FLOAT_EQ(tracks[0].keys[0].value, 0.3f);
    EXPECT_FLOAT_EQ(tracks[0].keys[1].value, 0.1f);
    EXPECT_FLOAT_EQ(tracks[3].keys[1].value, 0.9f);
    EXPECT_EQ(tracks[3].keys[1].interpolation, Linear);
}

TEST(EngineKeyframesTest, HasKeyframesMatchesTheParameterInsideTrackNames) {
    Scene s;
    EXPECT_FALSE(s.engine.hasKeyframes("Glow 1", "Color"));
    s.engine.ensureTracks("Glow 1", "Color");
    EXPECT_TRUE(s.engine.hasKeyframes("Glow 1", "Color"));
    EXPECT_FALSE(s.engine.hasKeyframes("Glow 1", "Amount"));
    EXPECT_FALSE(s.engine.hasKeyframes("Other", "Color"));
}

TEST(EngineKeyframesTest, RemoveTracksDropsOnlyThatParametersTracks) {
    Scene s;
    s.engine.ensureTracks("Glow 1", "Amount");
    s.engine.ensureTracks("Glow 1", "Color");
    s.engine.ensureTracks("Glow 1", "Offset");
    EXPECT_TRUE(s.engine.removeTracks("Glow 1", "Color"));
    EXPECT_EQ(s.trackNames(), (std::vector<std::string>{"Glow 1.Amount", "Glow 1.Offset.x", "Glow 1.Offset.y"}));
    EXPECT_FALSE(s.engine.removeTracks("Glow 1", "Color"));
    EXPECT_FALSE(s.engine.removeTracks("Nobody", "Amount"));
}

TEST(EngineKeyframesTest, EvaluateKeyframesWritesEveryTargetAtTheEngineTime) {
    Scene s;
    s.engine.time = 0.0f;
    s.node->amount = 0.0f;
    s.engine.addKeyframe("Glow 1", "Amount");
    s.engine.time = 2.0f;
    s.node->amount = 8.0f;
    s.engine.addKeyframe("Glow 1", "Amount");
    s.engine.ensureTracks("Glow 1", "Offset");  // no keys: left as it is
    s.node->offset[0] = 0.75f;

    s.engine.time = 0.5f;
    s.engine.evaluateKeyframes();
    EXPECT_FLOAT_EQ(s.node->amount, 2.0f);
    EXPECT_FLOAT_EQ(s.node->offset[0], 0.75f);
}

TEST(EngineKeyframesTest, OperationsOnUnknownNamesDoNothing) {
    Scene s;
    s.engine.addKeyframe("Nobody", "Amount");
    s.engine.setKeyAtCurrentTime("Glow 1", "Missing");
    s.engine.addKeyframe("Glow 1", "Mode");
    EXPECT_TRUE(s.engine.tracksByNode.empty());
    EXPECT_EQ(s.engine.nodesByName.size(), 1u);
}

}  // namespace
}  // namespace vorn::engine
