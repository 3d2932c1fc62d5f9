#include <gtest/gtest.h>

#include <algorithm>

#include "engine/Engine.h"
#include "platform/Debug.h"
#include "platform/Paths.h"
#include "tests/engine/FakeSyncConnection.h"
#include "tests/engine/TestNodes.h"
#include "tests/support/WorkingDirectory.h"

namespace vorn::engine {
namespace {

struct Scene {
    Engine engine;
    Scene() { test::registerTestNodeTypes(engine.factory); }
    test::TestImageNode* image(const std::string& name) {
        return static_cast<test::TestImageNode*>(engine.findNode(name));
    }
    Node* node(const std::string& name) { return engine.findNode(name); }
};

TEST(EngineRegistryTest, CreateNodeRegistersByNameAndRefusesDuplicates) {
    Scene s;
    ASSERT_TRUE(s.engine.createNode("Viewer 1", "TestViewer"));
    Node* first = s.node("Viewer 1");
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->name, "Viewer 1");
    EXPECT_FALSE(s.engine.createNode("Viewer 1", "TestImage"));
    EXPECT_EQ(s.node("Viewer 1"), first);
    EXPECT_EQ(s.engine.nodeSet.size(), 1u);
    EXPECT_EQ(s.engine.outputNodes, (std::vector<OutputNode*>{static_cast<OutputNode*>(first)}));
    EXPECT_EQ(s.engine.nodeTypes["Viewer 1"], "TestViewer");
}

TEST(EngineRegistryTest, TypesWithoutAClassFailButStayRecorded) {
    Scene s;
    EXPECT_FALSE(s.engine.createNode("a", "No Such Type"));
    EXPECT_FALSE(s.engine.createNode("b", "Random Dots"));
    EXPECT_FALSE(s.engine.createNode("c", "Glow"));  // built-in, class not attached
    EXPECT_TRUE(s.engine.nodesByName.empty());
    EXPECT_EQ(s.engine.nodeTypes.size(), 3u);
    EXPECT_EQ(s.engine.nodeTypes["c"], "Glow");
    EXPECT_FALSE(s.engine.factory.add("Randomize Material", engine::constructs<test::TestImageNode>()));
    EXPECT_FALSE(s.engine.createNode("d", "Randomize Material"));
}

TEST(EngineRegistryTest, BuiltinNamesAnswerOnceTheirClassIsAttached) {
    Scene s;
    s.engine.factory.add("Compose", engine::constructs<test::TestImageNode>());
    EXPECT_TRUE(s.engine.createNode("Compose 1", "Compose"));
    EXPECT_EQ(s.node("Compose 1")->kind(), NodeKind::Image);
}

// A script definition that is nothing but its name.
struct NamedScript : ScriptDefinition {
    explicit NamedScript(std::string name) : name(std::move(name)) {}
    const std::string& typeName() const override { return name; }
    std::string name;
};

TEST(EngineRegistryTest, ScriptTypesComeFromTheScriptsDirectoryAheadOfTheBuiltinNames) {
    test::WorkingDirectory here;
    const test::TempDir& dir = here.folder();
    dir.write("Scripts/b.node", "Brighten");
    dir.write("Scripts/a.node.txt", "Glow");      // named like a built-in type
    dir.write("Scripts/broken.node", "");          // the loader rejects it
    dir.write("Scripts/readme.txt", "Ignored");    // no ".node"
    dir.write("Scripts/sub.node/x", "");           // a directory

    Scene s;
    std::vector<std::string> paths;
    s.engine.factory.loadScript = [&](const std::string& path) -> std::unique_ptr<ScriptDefinition> {
        paths.push_back(path);
        auto text = platform::readFile(path, 1 << 20);
        if (!text || text->empty()) return nullptr;
        return std::make_unique<NamedScript>(std::string(text->begin(), text->end()));
    };
    std::vector<std::string> built;
    s.engine.factory.createScriptNode = [&](Engine& engine, const std::string& nodeName,
                                            const ScriptDefinition& script) -> std::unique_ptr<Node> {
        built.push_back(script.typeName());
        return std::make_unique<test::TestImageNode>(engine, nodeName);
    };
    s.engine.initialise();

    EXPECT_EQ(paths, (std::vector<std::string>{".\\Scripts\\a.node.txt", ".\\Scripts\\b.node",
                                               ".\\Scripts\\broken.node"}));
    ASSERT_EQ(s.engine.scripts.size(), 2u);
    ASSERT_EQ(s.engine.nodeTypeNames.size(), 24u);
    EXPECT_EQ(s.engine.nodeTypeNames[0], "Glow");
    EXPECT_EQ(s.engine.nodeTypeNames[1], "Brighten");
    EXPECT_EQ(s.engine.nodeTypeNames[2], "Viewer");
    EXPECT_EQ(s.engine.nodeTypeNames[23], "Render_Flake");

    platform::DebugCapture capture;
    EXPECT_TRUE(s.engine.createNode("Brighten 1", "Brighten"));
    EXPECT_EQ(capture.text(), "Load Script from File: Brighten\n");
    EXPECT_FALSE(s.engine.createNode("Glow 1", "Glow"));  // the built-in name never means the script
    EXPECT_EQ(built, (std::vector<std::string>{"Brighten"}));
}

TEST(EngineRegistryTest, ConnectChecksNamesIndexAndTheConsumersRule) {
    Scene s;
    s.engine.createNode("img", "TestImage");
    s.engine.createNode("geo", "TestGeometry");
    s.engine.createNode("view", "TestViewer");
    EXPECT_FALSE(s.engine.connect("missing", "view", 0));
    EXPECT_FALSE(s.engine.connect("img", "missing", 0));
    EXPECT_FALSE(s.engine.connect("img", "view", 1));   // index == inputCount
    EXPECT_FALSE(s.engine.connect("img", "view", -1));
    EXPECT_FALSE(s.engine.connect("geo", "view", 0));   // the viewer takes images only
    EXPECT_TRUE(s.node("geo")->outputs.empty());
    EXPECT_TRUE(s.engine.connect("img", "view", 0));
    EXPECT_EQ(s.node("view")->inputs[0], s.node("img"));
    EXPECT_EQ(s.node("img")->outputs, (std::vector<Node*>{s.node("view")}));
}

TEST(EngineRegistryTest, ConnectIntoAnOccupiedInputKeepsTheOldSourceButListsTheTarget) {
    Scene s;
    s.engine.createNode("a", "TestImage");
    s.engine.createNode("b", "TestImage");
    s.engine.createNode("view", "TestViewer");
    ASSERT_TRUE(s.engine.connect("a", "view", 0));
    EXPECT_TRUE(s.engine.connect("b", "view", 0));
    EXPECT_EQ(s.node("view")->inputs[0], s.node("a"));
    EXPECT_EQ(s.node("b")->outputs, (std::vector<Node*>{s.node("view")}));

    // Deleting the target must clear that listing too, or b would keep a dangling consumer.
    EXPECT_TRUE(s.engine.deleteNode("view"));
    EXPECT_TRUE(s.node("b")->outputs.empty());
    EXPECT_TRUE(s.node("a")->outputs.empty());
    EXPECT_TRUE(s.engine.deleteNode("b"));
}

TEST(EngineRegistryTest, ConnectionsThatWouldCloseACycleAreRefusedWithADiagnostic) {
    Scene s;
    for (const char* name : {"a", "b", "c", "d"}) s.engine.createNode(name, "TestImage");
    ASSERT_TRUE(s.engine.connect("a", "b", 0));  // a feeds b
    ASSERT_TRUE(s.engine.connect("b", "c", 0));  // b feeds c
    ASSERT_TRUE(s.engine.connect("a", "c", 1));  // a second path into c

    platform::DebugCapture capture;
    EXPECT_FALSE(s.engine.connect("c", "a", 0));
    EXPECT_TRUE(capture.contains("cannot connect \"c\" to input 0 of \"a\": it would close a cycle"));
    EXPECT_FALSE(s.engine.connect("b", "a", 2));
    EXPECT_FALSE(s.engine.connect("d", "d", 0));
    EXPECT_TRUE(s.node("a")->inputs == (std::vector<Node*>{nullptr, nullptr, nullptr}));
    EXPECT_TRUE(s.node("c")->outputs.empty());
    EXPECT_TRUE(s.engine.connect("d", "a", 0));  // unrelated: fine
    EXPECT_FALSE(s.engine.connect("c", "d", 0));  // c -> d -> a -> b -> c
}

TEST(EngineRegistryTest, DeletingAFeedingNodeEmptiesItsConsumersInputs) {
    Scene s;
    for (const char* name : {"src", "x", "y"}) s.engine.createNode(name, "TestImage");
    s.engine.createNode("view", "TestViewer");
    s.engine.connect("src", "x", 0);
    s.engine.connect("src", "x", 2);
    s.engine.connect("src", "y", 1);
    s.engine.connect("x", "y", 0);
    s.engine.connect("y", "view", 0);
    Node* x = s.node("x");
    Node* y = s.node("y");

    EXPECT_TRUE(s.engine.deleteNode("src"));
    EXPECT_EQ(x->inputs, (std::vector<Node*>{nullptr, nullptr, nullptr}));
    EXPECT_EQ(y->inputs, (std::vector<Node*>{x, nullptr, nullptr}));
    EXPECT_EQ(x->outputs, (std::vector<Node*>{y}));
    EXPECT_FALSE(s.engine.deleteNode("src"));

    EXPECT_TRUE(s.engine.deleteNode("y"));  // its own inputs forget it
    EXPECT_TRUE(x->outputs.empty());
    EXPECT_EQ(s.node("view")->inputs[0], nullptr);
    EXPECT_EQ(s.engine.nodeSet.size(), 2u);
}

TEST(EngineRegistryTest, DisconnectEmptiesOneInputAndOneListing) {
    Scene s;
    for (const char* name : {"src", "x"}) s.engine.createNode(name, "TestImage");
    s.engine.connect("src", "x", 0);
    s.engine.connect("src", "x", 2);
    EXPECT_TRUE(s.engine.disconnect("x", 0));
    EXPECT_EQ(s.node("x")->inputs, (std::vector<Node*>{nullptr, nullptr, s.node("src")}));
    EXPECT_EQ(s.node("src")->outputs, (std::vector<Node*>{s.node("x")}));  // still feeds input 2
    EXPECT_FALSE(s.engine.disconnect("x", 0));
    EXPECT_FALSE(s.engine.disconnect("x", 3));
}

TEST(EngineRegistryTest, DeleteNodeRemovesEverythingKeyedByTheNode) {
    Scene s;
    test::FakeSyncState sync;
    s.engine.syncConnectionFactory = [&](const std::string&) { return std::make_unique<test::FakeSyncConnection>(sync); };
    s.engine.createNode("Glow 1", "TestImage");
    s.engine.createNode("Glow 2", "TestImage");
    s.engine.createNode("Viewer 1", "TestViewer");
    s.engine.typeCounters["TestImage"] = 2;
    s.engine.typeCounters["TestViewer"] = 1;
    s.engine.ensureTracks("Glow 1", "Amount");
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    s.engine.linkSyncTrack("Glow 2", "glow2:amount", "Amount");
    ASSERT_TRUE(s.engine.connectSync());
    ASSERT_EQ(s.engine.syncBindings.size(), 4u);  // two bound by the image nodes themselves, two links

    EXPECT_TRUE(s.engine.deleteNode("Glow 1"));
    EXPECT_EQ(s.engine.typeCounters.count("TestImage"), 0u);
    EXPECT_EQ(s.engine.typeCounters["TestViewer"], 1u);
    EXPECT_EQ(s.engine.nodeTypes.count("Glow 1"), 0u);
    EXPECT_EQ(s.engine.tracksByNode.count("Glow 1"), 0u);
    ASSERT_EQ(s.engine.syncLinks.size(), 1u);
    EXPECT_EQ(s.engine.syncLinks[0].trackName, "glow2:amount");
    std::vector<std::string> bound;
    for (const auto& binding : s.engine.syncBindings) bound.push_back(binding.trackName);
    std::sort(bound.begin(), bound.end());
    // Glow 1's own binding (into a member that is no parameter) went too.
    EXPECT_EQ(bound, (std::vector<std::string>{"Glow 2#own", "glow2:amount"}));
    s.engine.update(0.0f);  // writes only into live nodes
}

TEST(EngineRegistryTest, ClearSceneEmptiesTheSceneAndResetsTheClock) {
    Scene s;
    s.engine.createNode("a", "TestImage");
    s.engine.createNode("view", "TestViewer");
    s.engine.createNode("ghost", "Unknown Type");
    s.engine.connect("a", "view", 0);
    s.engine.typeCounters["x"] = 3;
    s.engine.ensureTracks("a", "Amount");
    s.engine.linkSyncTrack("a", "t", "Amount");
    s.engine.time = 12.0f;
    s.engine.clockDrift = 0.5f;

    s.engine.clearScene();
    EXPECT_TRUE(s.engine.nodesByName.empty());
    EXPECT_TRUE(s.engine.nodeSet.empty());
    EXPECT_TRUE(s.engine.outputNodes.empty());
    EXPECT_TRUE(s.engine.typeCounters.empty());
    EXPECT_TRUE(s.engine.tracksByNode.empty());
    EXPECT_TRUE(s.engine.parametersByNode.empty());
    EXPECT_TRUE(s.engine.syncLinks.empty());
    // A type recorded without a node would otherwise be saved with the next scene.
    EXPECT_TRUE(s.engine.nodeTypes.empty());
    EXPECT_EQ(s.engine.time, 0.0f);
    EXPECT_EQ(s.engine.clockDrift, 0.0f);
}

}  // namespace
}  // namespace vorn::engine
