// The engine's frame: which nodes run, in which order, and how the clock
// follows the music.
#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/engine/FakeAudioOutput.h"
#include "tests/engine/TestNodes.h"

namespace vorn::engine {
namespace {

using Names = std::vector<std::string>;

struct Scene {
    test::FakeAudioState audio;
    Engine engine{std::make_unique<test::FakeAudioOutput>(audio)};
    Scene() {
        test::registerTestNodeTypes(engine.factory);
        engine.initialise();
        test::callLog() = {};
    }
    test::TestImageNode& image(const std::string& name) {
        return *static_cast<test::TestImageNode*>(engine.findNode(name));
    }
};

TEST(EngineTest, EveryReachedNodeRunsOnceDepthFirstAndOutputsPresentAfter) {
    Scene s;
    for (const char* name : {"shared", "a", "b", "skipped", "loose"}) s.engine.createNode(name, "TestImage");
    s.engine.createNode("Viewer 1", "TestViewer");
    s.engine.createNode("Viewer 2", "TestViewer");
    s.engine.connect("shared", "a", 0);
    s.engine.connect("shared", "b", 0);
    s.engine.connect("shared", "b", 1);
    s.engine.connect("skipped", "b", 2);
    s.engine.connect("a", "Viewer 1", 0);
    s.engine.connect("b", "Viewer 2", 0);
    s.engine.findNode("skipped")->skipEvaluation = true;

    EXPECT_TRUE(s.engine.update(0.0f));
    EXPECT_EQ(test::callLog().processed, (Names{"shared", "a", "Viewer 1", "b", "Viewer 2"}));
    EXPECT_EQ(test::callLog().presented, (Names{"Viewer 1", "Viewer 2"}));
    EXPECT_TRUE(s.engine.update(0.0f));  // flags cleared: everything runs again, once
    EXPECT_EQ(s.image("shared").processCount, 2);
    EXPECT_EQ(s.image("shared").renderCount, 2);
}

TEST(EngineTest, AFailingNodeIsReportedButStopsNothing) {
    Scene s;
    s.engine.createNode("failing", "TestImage");
    s.engine.createNode("other", "TestImage");
    s.engine.createNode("Viewer 1", "TestViewer");
    s.engine.connect("failing", "other", 0);
    s.engine.connect("other", "Viewer 1", 0);
    s.image("failing").processResult = false;
    EXPECT_TRUE(s.engine.update(0.0f));
    EXPECT_EQ(s.image("failing").renderCount, 1);  // render runs even after process failed
    EXPECT_EQ(test::callLog().processed, (Names{"failing", "other", "Viewer 1"}));
    EXPECT_EQ(test::callLog().presented, (Names{"Viewer 1"}));
}

TEST(EngineTest, WithoutAnOutputNodeTheFrameStillRunsClockAndKeyframes) {
    Scene s;
    s.engine.createNode("a", "TestImage");
    s.engine.ensureTracks("a", "Amount");
    s.engine.tracksByNode["a"][0].keys = {{4.0f, 0.0f, Linear}};
    EXPECT_FALSE(s.engine.update(0.0f));
    EXPECT_FLOAT_EQ(s.image("a").amount, 4.0f);
    EXPECT_TRUE(test::callLog().processed.empty());
    EXPECT_EQ(s.audio.updates, 1);
}

TEST(EngineTest, TheClockFollowsTheMusicOnceStartedAndStopsForANewFile) {
    Scene s;
    s.engine.update(5.0f);
    EXPECT_EQ(s.audio.created, (Names{s.engine.musicFile}));
    EXPECT_EQ(s.engine.time, -1.0f);  // not started: frozen

    s.engine.music->startPlayback(0.0f);
    s.audio.position = 1500;
    s.engine.update(1.75f);
    EXPECT_FLOAT_EQ(s.engine.time, 1.5f);
    s.audio.position = 2250;
    s.engine.update(2.0f);
    EXPECT_FLOAT_EQ(s.engine.clockDrift, 0.5f);  // the caller's 2.0 against the 1.5 before this frame
    EXPECT_FLOAT_EQ(s.engine.time, 2.25f);

    s.engine.musicFile = "other.mp3";
    s.audio.position = 9000;
    s.engine.update(0.0f);
    EXPECT_EQ(s.audio.created.back(), "other.mp3");
    EXPECT_FALSE(s.engine.music->started);
    EXPECT_FLOAT_EQ(s.engine.time, 2.25f);

    Engine silent;  // no sound device: no music, a frozen clock
    silent.initialise();
    EXPECT_FALSE(silent.update(3.0f));
    EXPECT_EQ(silent.time, -1.0f);
}

TEST(EngineTest, ProcessAllRunsEveryNodeOnceWithDrawingDisabled) {
    Scene s;
    s.engine.createNode("a", "TestImage");
    s.engine.createNode("g", "TestGeometry");
    s.engine.createNode("Viewer 1", "TestViewer");
    s.engine.connect("a", "Viewer 1", 0);
    s.engine.processAll();
    Names processed = test::callLog().processed;
    std::sort(processed.begin(), processed.end());
    EXPECT_EQ(processed, (Names{"Viewer 1", "a", "g"}));
    EXPECT_EQ(test::callLog().drawingEnabled, (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(s.engine.drawingEnabled, 1);
    EXPECT_EQ(s.image("a").renderCount, 0);
}

}  // namespace
}  // namespace vorn::engine
