// The engine's frame and registry: which nodes run and in which order, how the
// clock follows the music and keyframes drive parameters, the wiring rules,
// and what a deleted node or a cleared scene leaves behind (nothing).
#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "engine/SyncRows.h"
#include "platform/Debug.h"
#include "platform/Paths.h"
#include "tests/engine/EngineScene.h"

namespace vorn::engine {
namespace {

using Names = std::vector<std::string>;
using Nodes = std::vector<Node*>;
using Scene = test::EngineScene;

TEST(EngineTest, EveryReachedNodeRunsOnceDepthFirstAndOutputsPresentAfter) {
    Scene s{"shared", "a", "b", "skipped", "loose"};
    s.engine.createNode("Viewer 1", "TestViewer");
    s.engine.createNode("Viewer 2", "TestViewer");
    s.engine.connect("shared", "a", 0);
    s.engine.connect("shared", "b", 0);
    s.engine.connect("shared", "b", 1);
    s.engine.connect("skipped", "b", 2);
    s.engine.connect("a", "Viewer 1", 0);
    s.engine.connect("b", "Viewer 2", 0);
    s.node("skipped")->skipEvaluation = true;
    s.image("shared").processResult = false;  // reported, but stops nothing
    EXPECT_TRUE(s.engine.update(0.0f));
    EXPECT_EQ(test::callLog().processed, (Names{"shared", "a", "Viewer 1", "b", "Viewer 2"}));
    EXPECT_EQ(test::callLog().presented, (Names{"Viewer 1", "Viewer 2"}));
    EXPECT_EQ(s.image("shared").renderCount, 1);  // render runs even after process failed
    EXPECT_TRUE(s.engine.update(0.0f));           // flags cleared: everything runs again, once
    EXPECT_EQ(s.image("shared").renderCount, 2);
}

TEST(EngineTest, MusicIsDecodedOncePerFileWhateverItsSpelling) {
    test::FakeAudioState audio;
    MusicPlayer music{std::make_unique<test::FakeAudioOutput>(audio)};
    music.useFile(platform::currentDirectory() + "\\rsrc\\track.mp3");
    music.startPlayback(0.0f);
    music.useFile(".\\rsrc\\track.mp3");  // the project's spelling of the same file
    EXPECT_EQ(audio.created.size(), 1u);
    EXPECT_FALSE(music.started);  // but playback starts afresh, as after a reload
    EXPECT_TRUE(audio.isPaused);
    music.useFile("b.mp3");
    EXPECT_EQ(audio.releases, 1);
    audio.missingFiles = {"gone.mp3"};
    platform::DebugCapture capture;
    music.useFile("gone.mp3");
    music.useFile("gone.mp3");  // not retried every frame
    EXPECT_EQ(audio.created, (Names{audio.created[0], "b.mp3", "gone.mp3"}));
    EXPECT_EQ(capture.text(), "");  // the output reports it, once
}

TEST(EngineTest, OddTemposAndTimesNeverOverflowARowOrAPosition) {
    constexpr float nan = std::numeric_limits<float>::quiet_NaN();
    const std::pair<float, uint32_t> rows[] = {{1e30f, 4294967295u}, {-16.0f, 0}, {nan, 0}};  // rows per second
    for (auto [rowsPerSecond, row] : rows)
        EXPECT_EQ(syncRowAt(4000000000u, rowsPerSecond).rounded, row) << rowsPerSecond;
    EXPECT_FALSE(secondsForRow(24, 0.0f).has_value());
    EXPECT_FALSE(secondsForRow(24, std::numeric_limits<float>::infinity()).has_value());
    const std::pair<float, uint32_t> positions[] = {{1.5f, 1500}, {0.0019f, 1}, {-1.0f, 0}, {1e12f, 4294967295u}};
    for (auto [seconds, ms] : positions)
        EXPECT_EQ(positionMsFor(seconds), ms) << seconds;
}

constexpr float kUntouched = -99.0f;

TEST(EngineTest, KeyframeCurvesAreWeightedByTheLaterKeyAndHeldOutsideTheKeys) {
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
        {{}, 3.0f, kUntouched},
        {{{7, 2, Linear}}, -5.0f, 7.0f},
        {{{1, 1, Linear}, {3, 2, Linear}, {9, 4, Linear}}, 2.0f, 3.0f},  // exactly a middle key
        {{{1, 1, Linear}, {3, 2, Linear}, {9, 4, Linear}}, 50.0f, 9.0f},
        // Out of order: the last segment containing t wins ([0,4) and [1,3) both hold 2).
        {{{0, 0, Linear}, {4, 4, Linear}, {10, 1, Linear}, {30, 3, Linear}}, 2.0f, 20.0f},
        {{{0, 0, Linear}, {4, 4, Linear}, {10, 1, Linear}, {30, 3, Linear}}, 3.5f, 30.0f},
        // A time that is not a number breaks every segment it touches: nothing is written.
        {{{0, 0, Linear}, {1, nan, Linear}, {2, 5, Linear}}, 3.0f, kUntouched},
    };
    for (const Case& c : cases) {
        float value = kUntouched;
        evaluateKeys(c.keys, c.t, value);
        EXPECT_NEAR(value, c.expected, 1e-5f) << "at " << c.t << " s with " << c.keys.size() << " keys";
    }
}

TEST(EngineTest, ParametersAreKeyedPerComponentAtTheEngineTimeAndFramesPlayThemAtTheMusicTime) {
    test::EngineScene s{"Glow 1"};
    test::TestImageNode& node = s.image("Glow 1");
    for (const char* parameter : {"Offset", "Offset", "Mode", "Enabled", "File", "Missing"})
        s.engine.ensureTracks("Glow 1", parameter);
    EXPECT_FALSE(s.engine.ensureTracks("Nobody", "Amount"));
    s.engine.time = 2.0f;
    node.amount = 6.0f;
    s.engine.addKeyframe("Glow 1", "Amount");
    s.track("Glow 1", "Glow 1.Amount")->keys[0].interpolation = CubicOut;
    const std::pair<float, float> keyed[] = {{0.0f, 0.0f}, {2.0f, 8.0f}, {1.0f, 4.0f}};  // time, value
    for (auto [time, value] : keyed) {
        s.engine.time = time;
        node.amount = value;
        s.engine.addKeyframe("Glow 1", "Amount");
    }
    EXPECT_EQ(s.trackNames("Glow 1"), (std::set<std::string>{"Glow 1.Offset.x", "Glow 1.Offset.y", "Glow 1.Amount"}));
    EXPECT_EQ(s.track("Glow 1", "Glow 1.Offset.y")->target, &node.offset[1]);
    EXPECT_EQ(s.engine.tracksByNode.size(), 1u);
    const std::vector<Keyframe>& keys = s.track("Glow 1", "Glow 1.Amount")->keys;
    ASSERT_EQ(keys.size(), 3u);
    EXPECT_EQ(keys[1].time, 1.0f);  // inserted in time order, Linear
    EXPECT_EQ(keys[1].interpolation, Linear);
    EXPECT_EQ(keys[2].value, 8.0f);  // the second key at 2 s replaced the first's value only
    EXPECT_EQ(keys[2].interpolation, CubicOut);

    node.offset[0] = 0.75f;  // a track without keys leaves its float alone
    s.engine.update(3.0f);
    EXPECT_EQ(s.engine.time, 1.0f);  // the music has not started: the clock stands
    s.engine.music->startPlayback(0.0f);
    s.audio.position = 500;
    EXPECT_FALSE(s.engine.update(0.0f));  // no output node: the clock and keyframes only
    EXPECT_FLOAT_EQ(s.engine.time, 0.5f);
    EXPECT_FLOAT_EQ(node.amount, 2.0f);
    EXPECT_FLOAT_EQ(node.offset[0], 0.75f);
    EXPECT_TRUE(s.engine.removeTracks("Glow 1", "Offset"));
    EXPECT_EQ(s.trackNames("Glow 1").size(), 1u);
}

TEST(EngineTest, ConnectRefusesBadNamesIndicesKindsAndCycles) {
    Scene s{"a", "b", "c", "d"};
    s.engine.createNode("geo", "TestGeometry");
    s.engine.createNode("view", "TestViewer");
    EXPECT_FALSE(s.engine.createNode("view", "TestImage"));  // names are unique
    ASSERT_TRUE(s.engine.connect("a", "b", 0));
    ASSERT_TRUE(s.engine.connect("b", "c", 0));
    ASSERT_TRUE(s.engine.connect("a", "c", 1));

    struct Case {
        const char *source, *target;
        int32_t index;
    };
    const Case refused[] = {
        {"missing", "view", 0}, {"a", "missing", 0}, {"a", "view", 1}, {"a", "view", -1},
        {"geo", "view", 0},  // the viewer takes images only
        {"c", "a", 0},       // c <- b <- a
        {"b", "a", 2},       {"d", "d", 0},
    };
    platform::DebugCapture capture;
    for (const Case& c : refused)
        EXPECT_FALSE(s.engine.connect(c.source, c.target, c.index)) << c.source << " -> " << c.target;
    EXPECT_TRUE(capture.contains("cannot connect \"c\" to input 0 of \"a\": it would close a cycle"));
    EXPECT_EQ(s.node("a")->inputs, (Nodes{nullptr, nullptr, nullptr}));
    EXPECT_TRUE(s.node("c")->outputs.empty());
    EXPECT_TRUE(s.node("geo")->outputs.empty());
    EXPECT_TRUE(s.engine.connect("d", "a", 0));
    EXPECT_FALSE(s.engine.connect("c", "d", 0));  // c -> d -> a -> b -> c
}

TEST(EngineTest, DisconnectingOrDeletingANodeLeavesNoPointerNameOrTrackOfIt) {
    Scene s{"src", "x", "y", "late"};
    s.engine.createNode("view", "TestViewer");
    s.engine.connect("src", "x", 0);
    s.engine.connect("src", "x", 2);
    s.engine.connect("src", "y", 1);
    s.engine.connect("x", "y", 0);
    s.engine.connect("y", "view", 0);
    // Into an occupied input: the old source stays, but the new one lists the target.
    EXPECT_TRUE(s.engine.connect("late", "view", 0));
    s.engine.typeCounters["TestImage"] = 4;
    s.engine.ensureTracks("src", "Amount");
    s.engine.linkSyncTrack("src", "t", "Amount");
    Node *x = s.node("x"), *y = s.node("y");

    EXPECT_TRUE(s.engine.disconnect("x", 0));
    EXPECT_EQ(x->inputs, (Nodes{nullptr, nullptr, s.node("src")}));
    EXPECT_EQ(s.node("src")->outputs, (Nodes{x, y}));  // still feeds input 2 of x
    EXPECT_FALSE(s.engine.disconnect("x", 0));
    EXPECT_FALSE(s.engine.disconnect("x", 3));

    EXPECT_TRUE(s.engine.deleteNode("src"));
    EXPECT_EQ(x->inputs, (Nodes{nullptr, nullptr, nullptr}));
    EXPECT_EQ(y->inputs, (Nodes{x, nullptr, nullptr}));
    EXPECT_EQ(s.engine.typeCounters.count("TestImage"), 0u);
    EXPECT_EQ(s.engine.nodeTypes.count("src"), 0u);
    EXPECT_EQ(s.engine.tracksByNode.count("src"), 0u);
    EXPECT_TRUE(s.engine.syncLinks.empty());
    EXPECT_FALSE(s.engine.deleteNode("src"));
    EXPECT_TRUE(s.engine.deleteNode("view"));
    EXPECT_TRUE(s.node("late")->outputs.empty());
    EXPECT_TRUE(y->outputs.empty());
    EXPECT_TRUE(s.engine.deleteNode("y"));
    EXPECT_TRUE(x->outputs.empty());
    EXPECT_TRUE(s.engine.outputNodes.empty());

    s.engine.createNode("ghost", "Unknown Type");
    s.engine.createNode("view", "TestViewer");
    s.engine.typeCounters["x"] = 3;
    s.engine.ensureTracks("x", "Amount");
    s.engine.linkSyncTrack("x", "t", "Amount");
    s.engine.time = 12.0f;
    s.engine.clearScene();
    EXPECT_TRUE(s.engine.nodesByName.empty() && s.engine.nodeSet.empty() && s.engine.outputNodes.empty());
    EXPECT_TRUE(s.engine.typeCounters.empty() && s.engine.tracksByNode.empty() && s.engine.syncLinks.empty());
    EXPECT_TRUE(s.engine.parametersByNode.empty());
    EXPECT_TRUE(s.engine.nodeTypes.empty());  // else "ghost" would be saved with the next scene
    EXPECT_EQ(s.engine.time, 0.0f);
}

}  // namespace
}  // namespace vorn::engine
