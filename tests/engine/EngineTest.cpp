#include "engine/Engine.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/Paths.h"
#include "tests/engine/FakeAudioOutput.h"
#include "tests/engine/TestNodes.h"

namespace vorn::engine {
namespace {

struct Scene {
    test::FakeAudioState audio;
    Engine engine{std::make_unique<test::FakeAudioOutput>(audio)};
    Scene() {
        test::registerTestNodeTypes(engine.factory);
        engine.initialise();
        test::callLog() = {};
    }
    template <class T = Node>
    T* node(const std::string& name) {
        return static_cast<T*>(engine.findNode(name));
    }
};

TEST(EngineTest, InitialiseSetsTheFixedTextsAndTheClock) {
    Scene s;
    std::string rsrc = platform::currentDirectory() + "\\rsrc\\";
    EXPECT_EQ(s.engine.resourceDirectory, rsrc);
    EXPECT_EQ(s.engine.musicFile, rsrc + "track.mp3");
    EXPECT_EQ(s.engine.alternateMusicFile, rsrc + "track.wav");
    EXPECT_EQ(s.engine.projectName, "demo");
    EXPECT_EQ(s.engine.headerText, "200");
    EXPECT_EQ(s.engine.bpmText, "125");
    EXPECT_EQ(s.engine.time, -1.0f);
    EXPECT_EQ(s.engine.busyTime, 0.0f);
    EXPECT_EQ(s.engine.nodeTypeNames.size(), 22u);  // no script loader: built-in names only
    ASSERT_NE(s.engine.music, nullptr);
    EXPECT_FALSE(s.engine.music->started);
    EXPECT_EQ(s.engine.music->fileName, "");
}

TEST(EngineTest, EveryNodeRunsOncePerFrameAndOutputsPresentAfterEvaluating) {
    Scene s;
    for (const char* name : {"shared", "a", "b"}) s.engine.createNode(name, "TestImage");
    s.engine.createNode("Viewer 1", "TestViewer");
    s.engine.createNode("Viewer 2", "TestViewer");
    s.engine.connect("shared", "a", 0);
    s.engine.connect("shared", "b", 0);
    s.engine.connect("shared", "b", 1);
    s.engine.connect("a", "Viewer 1", 0);
    s.engine.connect("b", "Viewer 2", 0);

    EXPECT_TRUE(s.engine.update(0.0f));
    EXPECT_EQ(test::callLog().processed,
              (std::vector<std::string>{"shared", "a", "Viewer 1", "b", "Viewer 2"}));
    EXPECT_EQ(test::callLog().presented, (std::vector<std::string>{"Viewer 1", "Viewer 2"}));

    EXPECT_TRUE(s.engine.update(0.0f));  // flags cleared: everything runs again, once
    EXPECT_EQ(s.node<test::TestImageNode>("shared")->processCount, 2);
    EXPECT_EQ(s.node<test::TestImageNode>("shared")->renderCount, 2);
    EXPECT_EQ(s.node<test::TestViewer>("Viewer 2")->presentCount, 2);
}

TEST(EngineTest, SkippedNodesAndUnreachedNodesDoNotRun) {
    Scene s;
    s.engine.createNode("skipped", "TestImage");
    s.engine.createNode("loose", "TestImage");
    s.engine.createNode("Viewer 1", "TestViewer");
    s.engine.connect("skipped", "Viewer 1", 0);
    s.node("skipped")->skipEvaluation = true;
    s.engine.update(0.0f);
    EXPECT_EQ(test::callLog().processed, (std::vector<std::string>{"Viewer 1"}));
}

TEST(EngineTest, WithoutAnOutputNodeTheFrameStillRunsClockAndKeyframes) {
    Scene s;
    s.engine.createNode("a", "TestImage");
    s.engine.ensureTracks("a", "Amount");
    s.engine.tracksByNode["a"][0].keys = {{4.0f, 0.0f, Linear}};
    float busyBefore = s.engine.busyTime;

    EXPECT_FALSE(s.engine.update(0.0f));
    EXPECT_FLOAT_EQ(s.node<test::TestImageNode>("a")->amount, 4.0f);
    EXPECT_TRUE(test::callLog().processed.empty());
    EXPECT_EQ(s.audio.updates, 1);
    EXPECT_GE(s.engine.busyTime, busyBefore);
    EXPECT_FLOAT_EQ(s.engine.busyTime, busyBefore + s.engine.frameDuration);
}

TEST(EngineTest, TheClockFollowsTheMusicOnceStarted) {
    Scene s;
    s.engine.update(5.0f);
    EXPECT_EQ(s.audio.created, (std::vector<std::string>{s.engine.musicFile}));
    EXPECT_EQ(s.engine.time, -1.0f);       // not started: frozen
    EXPECT_EQ(s.engine.clockDrift, 0.0f);  // no time yet, no drift

    s.engine.music->startPlayback(0.0f);
    s.audio.position = 1500;
    s.engine.update(1.75f);
    EXPECT_FLOAT_EQ(s.engine.time, 1.5f);
    s.audio.position = 2250;
    s.engine.update(2.0f);
    EXPECT_FLOAT_EQ(s.engine.clockDrift, 2.0f - 1.5f);  // against the time before this frame's reading
    EXPECT_FLOAT_EQ(s.engine.time, 2.25f);
}

TEST(EngineTest, ANewMusicFileReplacesTheSoundAndStopsTheClock) {
    Scene s;
    s.engine.update(0.0f);
    s.engine.music->startPlayback(0.0f);
    s.audio.position = 3000;
    s.engine.update(0.0f);
    s.engine.musicFile = "other.mp3";
    s.audio.position = 9000;
    s.engine.update(0.0f);
    EXPECT_EQ(s.audio.created.back(), "other.mp3");
    EXPECT_FALSE(s.engine.music->started);
    EXPECT_FLOAT_EQ(s.engine.time, 3.0f);
}

TEST(EngineTest, WithoutASoundDeviceTheClockStaysFrozen) {
    Engine engine;
    engine.initialise();
    EXPECT_EQ(engine.music, nullptr);
    EXPECT_FALSE(engine.update(3.0f));
    EXPECT_EQ(engine.time, -1.0f);
}

TEST(EngineTest, ProcessAllRunsEveryNodeOnceWithDrawingDisabled) {
    Scene s;
    s.engine.createNode("a", "TestImage");
    s.engine.createNode("g", "TestGeometry");
    s.engine.createNode("Viewer 1", "TestViewer");
    s.engine.connect("a", "Viewer 1", 0);
    s.engine.processAll();
    auto processed = test::callLog().processed;
    std::sort(processed.begin(), processed.end());
    EXPECT_EQ(processed, (std::vector<std::string>{"Viewer 1", "a", "g"}));
    EXPECT_EQ(test::callLog().drawingEnabled, (std::vector<int32_t>{0, 0, 0}));
    EXPECT_EQ(s.engine.drawingEnabled, 1);
    EXPECT_EQ(s.node<test::TestImageNode>("a")->renderCount, 0);
}

}  // namespace
}  // namespace vorn::engine
