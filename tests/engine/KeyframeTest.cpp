// Keyframe curves, the tracks a parameter is animated through, and how a
// stored track name finds its float again.
#include "engine/Keyframe.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/Engine.h"
#include "engine/TrackNaming.h"
#include "tests/engine/TestNodes.h"

namespace vorn::engine {
namespace {

constexpr float kUntouched = -99.0f;

TEST(KeyframeTest, CurvesAreWeightedByTheLaterKeyAndHeldOutsideTheKeys) {
    const float nan = std::nanf("");
    struct Case {
        std::vector<Keyframe> keys;  // {value, time, interpolation}
        float t, expected;
    };
    const Case cases[] = {
        // 0 at 1 s to 10 at 2 s; the earlier key's code is never used.
        {{{0, 1, CubicIn}, {10, 2, CubicOut}}, 1.5f, 8.75f},  // 10 (1 - 0.5^3)
        {{{0, 1, CubicOut}, {10, 2, CubicIn}}, 1.5f, 1.25f},  // 10 0.5^3
        {{{0, 1, Linear}, {10, 2, Cosine}}, 1.5f, 5.0f},      // 10 (1 - cos(pi/2)) / 2
        {{{0, 1, Cosine}, {10, 2, Linear}}, 1.25f, 2.5f},
        {{{0, 1, Linear}, {10, 2, 77}}, 1.25f, 1.4644661f},  // unknown codes are Cosine
        {{{0, 1, Linear}, {10, 2, -1}}, 1.25f, 1.4644661f},
        {{}, 3.0f, kUntouched},
        {{{7, 2, Linear}}, -5.0f, 7.0f},
        {{{7, 2, Linear}}, 100.0f, 7.0f},
        {{{1, 1, Linear}, {3, 2, Linear}, {9, 4, Linear}}, 0.0f, 1.0f},
        {{{1, 1, Linear}, {3, 2, Linear}, {9, 4, Linear}}, 2.0f, 3.0f},  // exactly a middle key
        {{{1, 1, Linear}, {3, 2, Linear}, {9, 4, Linear}}, 3.0f, 6.0f},
        {{{1, 1, Linear}, {3, 2, Linear}, {9, 4, Linear}}, 50.0f, 9.0f},
        // Equal times form a zero-length segment that is skipped.
        {{{0, 0, Linear}, {5, 1, Linear}, {8, 1, Linear}, {10, 2, Linear}}, 1.0f, 8.0f},
        {{{0, 0, Linear}, {5, 1, Linear}, {8, 1, Linear}, {10, 2, Linear}}, 1.5f, 9.0f},
        // Out of order: the last segment containing t wins ([0,4) and [1,3) both hold 2).
        {{{0, 0, Linear}, {4, 4, Linear}, {10, 1, Linear}, {30, 3, Linear}}, 2.0f, 20.0f},
        {{{0, 0, Linear}, {4, 4, Linear}, {10, 1, Linear}, {30, 3, Linear}}, 3.5f, 30.0f},
        // A time that is not a number breaks every segment it touches: nothing is written.
        {{{0, 0, Linear}, {1, nan, Linear}, {2, 5, Linear}}, 3.0f, kUntouched},
    };
    for (std::size_t i = 0; i < std::size(cases); ++i) {
        float value = kUntouched;
        evaluateKeys(cases[i].keys, cases[i].t, value);
        EXPECT_NEAR(value, cases[i].expected, 1e-5f) << "case " << i;
    }
}

TEST(KeyframeTest, SetKeyReplacesTheValueAtAnExistingTimeAndInsertsInOrder) {
    KeyframeTrack track;
    for (float time : {2.0f, 1.0f, 3.0f}) setKey(track, time, time * 10);
    track.keys[1].interpolation = CubicOut;
    setKey(track, 2.0f, 25.0f);
    setKey(track, 2.5f, 27.0f);
    ASSERT_EQ(track.keys.size(), 4u);
    const Keyframe expected[] = {{10, 1, Linear}, {25, 2, CubicOut}, {27, 2.5f, Linear}, {30, 3, Linear}};
    for (std::size_t i = 0; i < 4; ++i) {
        EXPECT_EQ(track.keys[i].time, expected[i].time);
        EXPECT_EQ(track.keys[i].value, expected[i].value);
        EXPECT_EQ(track.keys[i].interpolation, expected[i].interpolation);
    }
}

struct Animated {
    Engine engine;
    test::TestImageNode* node = nullptr;
    Animated() {
        test::registerTestNodeTypes(engine.factory);
        engine.createNode("Glow 1", "TestImage");
        node = static_cast<test::TestImageNode*>(engine.findNode("Glow 1"));
    }
    std::vector<std::string> trackNames() {
        std::vector<std::string> names;
        for (const auto& track : engine.tracksByNode["Glow 1"]) names.push_back(track.trackName);
        return names;
    }
};

TEST(KeyframeTest, FloatsVectorsAndColoursGetOneTrackPerComponentOthersNone) {
    Animated a;
    for (const char* parameter : {"Amount", "Offset", "Color", "Amount", "Mode", "Enabled", "File", "Missing"})
        a.engine.ensureTracks("Glow 1", parameter);
    EXPECT_FALSE(a.engine.ensureTracks("Nobody", "Amount"));
    EXPECT_EQ(a.trackNames(), (std::vector<std::string>{"Glow 1.Amount", "Glow 1.Offset.x", "Glow 1.Offset.y",
                                                        "Glow 1.Color.r", "Glow 1.Color.g", "Glow 1.Color.b",
                                                        "Glow 1.Color.a"}));
    EXPECT_EQ(a.engine.tracksByNode["Glow 1"][6].target, &a.node->color[3]);
    EXPECT_TRUE(a.engine.hasKeyframes("Glow 1", "Color"));
    EXPECT_TRUE(a.engine.removeTracks("Glow 1", "Color"));
    EXPECT_FALSE(a.engine.hasKeyframes("Glow 1", "Color"));
    EXPECT_EQ(a.trackNames().size(), 3u);
}

TEST(KeyframeTest, AddKeyframeKeysTheCurrentValuesAtTheEngineTimeAndFramesPlayThemBack) {
    Animated a;
    a.engine.time = 2.0f;
    a.node->amount = 8.0f;
    a.engine.addKeyframe("Glow 1", "Amount");
    a.engine.time = 0.0f;
    a.node->amount = 0.0f;
    a.engine.addKeyframe("Glow 1", "Amount");
    a.engine.ensureTracks("Glow 1", "Offset");  // no keys: left as it is
    a.node->offset[0] = 0.75f;
    a.engine.addKeyframe("Nobody", "Amount");
    a.engine.addKeyframe("Glow 1", "Mode");

    a.engine.time = 0.5f;
    a.engine.evaluateKeyframes();
    EXPECT_FLOAT_EQ(a.node->amount, 2.0f);
    EXPECT_FLOAT_EQ(a.node->offset[0], 0.75f);
    EXPECT_EQ(a.trackNames().size(), 3u);
    EXPECT_EQ(a.engine.tracksByNode.size(), 1u);
}

TEST(KeyframeTest, StoredTrackNamesFindTheirFloat) {
    Animated a;
    const ParameterList& list = a.engine.parametersOf(*a.node);
    test::TestImageNode& n = *a.node;
    struct Case {
        const char* trackName;
        float* expected;
    };
    const Case cases[] = {
        {"Glow 1.Amount", &n.amount},      {"Glow 1.Color.r", &n.color[0]},  {"Glow 1.Color.y", &n.color[1]},
        {"Glow 1.Color.b", &n.color[2]},   {"Glow 1.Color.w", &n.color[3]},  {"Glow 1.Offset.x", &n.offset[0]},
        {"Glow 1.Offset.q", &n.offset[1]},  // any letter but x
        {"Glow 1.Translate.Y", &n.translate[1]},
        {"Glow 1.Scale.X", &n.scale[0]},  // a float3 name outside the fixed list still resolves
        {"Other.Amount", nullptr},         {"Glow 1", nullptr},              {"Glow 1.Mode", nullptr},
        {"Glow 1.Amount.x", nullptr},      {"Glow 1.Missing", nullptr},
    };
    for (const Case& c : cases) EXPECT_EQ(resolveTrackTarget(list, "Glow 1", c.trackName), c.expected) << c.trackName;

    // The fixed list decides where a vec4 of the same stem also exists.
    float rotateY = 0.0f, rotate[4] = {};
    ParameterList clash;
    auto whole = std::make_unique<ValueFloat>(nullptr, "Rotate.Y", "N");
    whole->target = &rotateY;
    auto vec = std::make_unique<ValueVec4>(nullptr, "Rotate", "N");
    vec->target = rotate;
    clash.push_back(std::move(whole));
    clash.push_back(std::move(vec));
    EXPECT_EQ(resolveTrackTarget(clash, "N", "N.Rotate.Y"), &rotateY);
    EXPECT_EQ(resolveTrackTarget(clash, "N", "N.Rotate.b"), &rotate[2]);
}

}  // namespace
}  // namespace vorn::engine
