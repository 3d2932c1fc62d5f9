// Saving a scene and loading it back, merging under a prefix, and what a load
// that is refused or meets a damaged file leaves in the scene.
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "engine/Engine.h"
#include "engine/ProjectReader.h"
#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"
#include "tests/engine/FakeAudioOutput.h"
#include "tests/engine/ProjectBytes.h"
#include "tests/engine/TestNodes.h"
#include "tests/support/TempDir.h"

namespace vorn::engine {
namespace {

using test::TestImageNode;

struct Scene {
    test::FakeAudioState audio;
    Engine engine{std::make_unique<test::FakeAudioOutput>(audio)};
    std::vector<std::string> questions;
    bool answer = true;

    Scene() {
        test::registerTestNodeTypes(engine.factory);
        engine.confirm = [this](const std::string& text, const std::string& caption) {
            questions.push_back(text + "|" + caption);
            return answer;
        };
        engine.initialise();
    }
    TestImageNode& image(const std::string& name) { return *static_cast<TestImageNode*>(engine.findNode(name)); }
    Node* node(const std::string& name) { return engine.findNode(name); }

    // Glow 1 feeds input 1 of Glow 2, which feeds a viewer; a node of a type
    // without a class; a value of every kind; keys on a float, two colour
    // components, a float3 component; a sync link. Left at t = 2.
    void build() {
        engine.createNode("Glow 1", "TestImage");
        engine.createNode("Glow 2", "TestImage");
        engine.createNode("Viewer 1", "TestViewer");
        engine.createNode("Dots 1", "Random Dots");
        engine.connect("Glow 1", "Glow 2", 1);
        engine.connect("Glow 2", "Viewer 1", 0);
        engine.typeCounters["TestImage"] = 2;

        TestImageNode& glow = image("Glow 1");
        glow.file = "\xE9t\xE9.png";
        glow.mode = 2;
        glow.enabled = false;
        glow.offset[0] = -0.5f;
        glow.scale[0] = 1.5f;
        engine.time = 0.0f;
        glow.amount = 2.0f;
        engine.addKeyframe("Glow 1", "Amount");
        engine.addKeyframe("Glow 1", "Scale.X");
        engine.ensureTracks("Glow 1", "Color");
        std::erase_if(engine.tracksByNode["Glow 1"], [](const KeyframeTrack& t) {
            return t.trackName == "Glow 1.Color.g" || t.trackName == "Glow 1.Color.b";
        });
        track(engine, "Glow 1", "Glow 1.Color.r")->keys = {{0.2f, 0.0f, Linear}};
        track(engine, "Glow 1", "Glow 1.Color.a")->keys = {{0.6f, 0.0f, Linear}, {1.0f, 4.0f, CubicIn}};
        engine.time = 4.0f;
        glow.amount = 6.0f;
        engine.addKeyframe("Glow 1", "Amount");
        engine.linkSyncTrack("Glow 1", "glow#Amount", "Amount");
        engine.time = 2.0f;
        engine.evaluateKeyframes();  // amount 4 at t = 2
    }

    static KeyframeTrack* track(Engine& engine, const std::string& node, const std::string& name) {
        for (auto& t : engine.tracksByNode.at(node))
            if (t.trackName == name) return &t;
        return nullptr;
    }
    std::set<std::string> trackNames(const std::string& node) {
        std::set<std::string> names;
        for (const auto& t : engine.tracksByNode[node]) names.insert(t.trackName);
        return names;
    }
};

TEST(EngineProjectTest, ASavedSceneLoadsBackWithValuesAtTimeZero) {
    test::TempDir dir;
    Scene saved;
    saved.build();
    ASSERT_TRUE(saved.engine.saveProject(dir.file("demo.vorn")));
    EXPECT_FLOAT_EQ(saved.engine.time, 2.0f);  // restored after saving
    EXPECT_FLOAT_EQ(saved.image("Glow 1").amount, 4.0f);

    Scene loaded;
    test::callLog() = {};
    ASSERT_TRUE(loaded.engine.loadProject(dir.file("demo.vorn"), true, ""));
    EXPECT_TRUE(loaded.questions.empty());  // nothing to clear: no question
    EXPECT_EQ(loaded.engine.time, 0.0f);
    EXPECT_EQ(loaded.engine.nodesByName.size(), 3u);
    EXPECT_EQ(loaded.engine.nodeTypes.at("Dots 1"), "Random Dots");  // kept for the next save
    EXPECT_EQ(loaded.engine.typeCounters, saved.engine.typeCounters);
    EXPECT_EQ(loaded.node("Glow 2")->inputs[1], loaded.node("Glow 1"));
    EXPECT_EQ(loaded.node("Glow 1")->outputs, (std::vector<Node*>{loaded.node("Glow 2")}));
    EXPECT_EQ(loaded.node("Viewer 1")->inputs[0], loaded.node("Glow 2"));

    TestImageNode& glow = loaded.image("Glow 1");
    EXPECT_FLOAT_EQ(glow.amount, 2.0f);  // the key at time 0, not the value at 2
    EXPECT_EQ(glow.file, "\xE9t\xE9.png");
    EXPECT_EQ(glow.mode, 2);
    EXPECT_FALSE(glow.enabled);
    EXPECT_FLOAT_EQ(glow.offset[0], -0.5f);
    EXPECT_FLOAT_EQ(glow.scale[0], 1.5f);
    EXPECT_FLOAT_EQ(glow.color[3], 0.6f);

    EXPECT_EQ(loaded.trackNames("Glow 1"),
              (std::set<std::string>{"Glow 1.Amount", "Glow 1.Color.r", "Glow 1.Color.a", "Glow 1.Scale.X"}));
    KeyframeTrack* amount = Scene::track(loaded.engine, "Glow 1", "Glow 1.Amount");
    ASSERT_EQ(amount->keys.size(), 2u);
    EXPECT_FLOAT_EQ(amount->keys[1].value, 6.0f);
    EXPECT_EQ(amount->target, &glow.amount);
    EXPECT_EQ(Scene::track(loaded.engine, "Glow 1", "Glow 1.Color.a")->target, &glow.color[3]);
    EXPECT_EQ(Scene::track(loaded.engine, "Glow 1", "Glow 1.Color.a")->keys[1].interpolation, CubicIn);
    EXPECT_EQ(Scene::track(loaded.engine, "Glow 1", "Glow 1.Scale.X")->target, &glow.scale[0]);
    EXPECT_TRUE(loaded.engine.isSyncLinked("Glow 1", "Amount"));

    // One process call per node, with drawing disabled.
    EXPECT_EQ(test::callLog().drawingEnabled, (std::vector<int32_t>{0, 0, 0}));
}

TEST(EngineProjectTest, MergingTwiceUnderPrefixesGivesTwoDisjointCopies) {
    test::TempDir dir;
    Scene saved;
    saved.build();
    ASSERT_TRUE(saved.engine.saveProject(dir.file("part.vorn")));

    Scene merged;
    merged.engine.createNode("Glow 1", "TestImage");  // an unrelated node already there
    ASSERT_TRUE(merged.engine.loadProject(dir.file("part.vorn"), false, "A"));
    ASSERT_TRUE(merged.engine.loadProject(dir.file("part.vorn"), false, "B"));
    EXPECT_TRUE(merged.questions.empty());
    EXPECT_EQ(merged.engine.nodesByName.size(), 7u);
    for (const std::string prefix : {"A", "B"}) {
        EXPECT_EQ(merged.node(prefix + "Glow 2")->inputs[1], merged.node(prefix + "Glow 1"));
        EXPECT_EQ(merged.engine.typeCounters.at(prefix + "TestImage"), 2u);
        EXPECT_EQ(merged.engine.nodeTypes.at(prefix + "Dots 1"), "Random Dots");
        EXPECT_EQ(Scene::track(merged.engine, prefix + "Glow 1", prefix + "Glow 1.Color.a")->target,
                  &merged.image(prefix + "Glow 1").color[3]);
        EXPECT_TRUE(merged.engine.isSyncLinked(prefix + "Glow 1", "Amount"));
    }
    EXPECT_EQ(merged.engine.tracksByNode.count("Glow 1"), 0u);
    EXPECT_TRUE(merged.node("Glow 1")->outputs.empty());
    EXPECT_EQ(merged.engine.syncLinks[0].trackName, "glow#Amount");  // track names are used as read
}

TEST(EngineProjectTest, SavedTextsInsideTheWorkingDirectoryAreStoredRelative) {
    test::TempDir dir;
    std::string cwd = platform::currentDirectory();
    Scene saved;  // initialise filled the resource directory from the working directory
    saved.engine.createNode("Glow 1", "TestImage");
    saved.image("Glow 1").file = cwd + "/images/a.png";
    saved.engine.createNode("Glow 2", "TestImage");
    saved.image("Glow 2").file = "/elsewhere/b.png";
    ASSERT_TRUE(saved.engine.saveProject(dir.file("demo.vorn")));
    EXPECT_EQ(saved.image("Glow 1").file, cwd + "/images/a.png");  // the scene is unchanged

    auto bytes = platform::readFile(dir.file("demo.vorn"), platform::kMaxProjectFileBytes);
    ProjectReadResult read = readProjectDocument(*bytes);
    const auto& header = std::get<ProjectHeader>(read.document.sections[0]);
    EXPECT_EQ(header.resourceDirectory, ".\\rsrc\\");
    EXPECT_EQ(header.alternateMusicFile, ".\\rsrc\\track.wav");

    Scene loaded;
    ASSERT_TRUE(loaded.engine.loadProject(dir.file("demo.vorn"), true, ""));
    EXPECT_EQ(loaded.image("Glow 1").file, "./images/a.png");
    EXPECT_EQ(loaded.image("Glow 2").file, "/elsewhere/b.png");
    loaded.engine.update(0.0f);
    EXPECT_EQ(loaded.audio.created.back(), ".\\rsrc\\track.mp3");  // the header's music is loaded next
}

TEST(EngineProjectTest, ARefusedLoadOrSaveChangesNothing) {
    test::TempDir dir;
    Scene author;
    author.build();
    ASSERT_TRUE(author.engine.saveProject(dir.file("demo.vorn")));
    std::string text = dir.write("notes.vorn", "hello, this is text");

    Scene s;
    s.build();
    platform::DebugCapture capture;
    EXPECT_FALSE(s.engine.loadProject(text, true, ""));  // the magic is checked before asking
    EXPECT_FALSE(s.engine.loadProject("/nonexistent/demo.vorn", true, ""));
    EXPECT_TRUE(s.questions.empty());
    s.answer = false;
    EXPECT_FALSE(s.engine.loadProject(dir.file("demo.vorn"), true, ""));
    EXPECT_EQ(s.questions, (std::vector<std::string>{"Load and clear scene?|VORN"}));
    EXPECT_FALSE(s.engine.saveProject("/nonexistent/dir/demo.vorn"));

    EXPECT_EQ(s.engine.nodesByName.size(), 3u);
    EXPECT_FLOAT_EQ(s.engine.time, 2.0f);
    EXPECT_FLOAT_EQ(s.image("Glow 1").amount, 4.0f);
    EXPECT_TRUE(capture.contains("cannot load " + text + ": not a project file (no project magic at its start)"));
    EXPECT_TRUE(capture.contains("cannot open project /nonexistent/demo.vorn"));
    EXPECT_TRUE(capture.contains("cannot write project /nonexistent/dir/demo.vorn"));
}

TEST(EngineProjectTest, ADamagedTailKeepsWhatCameBeforeButReportsFailure) {
    test::TempDir dir;
    Scene saved;
    saved.build();
    ASSERT_TRUE(saved.engine.saveProject(dir.file("demo.vorn")));
    std::vector<uint8_t> bytes = test::readBytes(dir.file("demo.vorn"));
    bytes.resize(bytes.size() - 3);  // inside the links section, the last one
    std::string path = dir.write("cut.vorn", bytes);

    Scene loaded;
    platform::DebugCapture capture;
    EXPECT_FALSE(loaded.engine.loadProject(path, true, ""));
    EXPECT_TRUE(capture.contains("project " + path + " is damaged (truncated inside the links section"));
    EXPECT_EQ(loaded.engine.nodesByName.size(), 3u);
    EXPECT_FLOAT_EQ(loaded.image("Glow 1").amount, 2.0f);
    EXPECT_EQ(loaded.trackNames("Glow 1").size(), 4u);
    EXPECT_TRUE(loaded.engine.syncLinks.empty());
}

TEST(EngineProjectTest, StoredValuesOfAnotherTypeOrOwnerAreDropped) {
    test::ProjectBytes b;
    b.magic().u32(0x86869002).u32(1).text("N").text("TestImage");
    b.u32(0x86869004).u32(2).text("N").u32(4);
    b.text("Amount").u32(1).u32(7);  // the node's Amount is a float
    b.text("Offset").u32(3).f32(0.125f).f32(0.25f);
    b.text("Gone").u32(2).f32(9.0f);  // no such parameter
    b.text("Mode").u32(1).u32(0);
    b.text("Nobody").u32(1).text("Amount").u32(2).f32(5.0f);
    b.u32(0x86869005).u32(1).text("N").u32(2);
    b.text("N.Offset.z").text("N").f32(0.0f).f32(1.0f).u32(1).f32(0.75f).f32(0.0f).u32(1);
    b.text("N.Missing").text("N").f32(0.0f).f32(1.0f).u32(0);
    b.u32(0x86869006).u32(2).text("N").text("t").text("Amount").text("Nobody").text("u").text("Amount");
    b.u32(0x86869003).u32(1).text("N").u32(1).u32(0).text("Nobody");

    Scene s;
    ASSERT_TRUE(s.engine.loadProjectBytes(b.bytes, "test", true, ""));
    TestImageNode& node = s.image("N");
    EXPECT_FLOAT_EQ(node.amount, 1.0f);  // the default stands
    EXPECT_FLOAT_EQ(node.offset[1], 0.25f);
    EXPECT_EQ(node.mode, 0);
    EXPECT_EQ(s.trackNames("N"), (std::set<std::string>{"N.Offset.z"}));
    EXPECT_EQ(Scene::track(s.engine, "N", "N.Offset.z")->target, &node.offset[1]);
    EXPECT_EQ(s.engine.syncLinks.size(), 1u);
    EXPECT_EQ(node.inputs[0], nullptr);
}

}  // namespace
}  // namespace vorn::engine
