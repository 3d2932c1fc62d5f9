// Making, wiring and deleting nodes: names, types, the wiring rules, and what
// a deleted node or a cleared scene must leave behind (nothing).
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

using Names = std::vector<std::string>;
using Nodes = std::vector<Node*>;

struct Scene {
    Engine engine;
    explicit Scene(std::initializer_list<const char*> images = {}) {
        test::registerTestNodeTypes(engine.factory);
        for (const char* name : images) engine.createNode(name, "TestImage");
    }
    Node* node(const std::string& name) { return engine.findNode(name); }
};

TEST(EngineRegistryTest, NodesAreCreatedByUniqueNameOnlyForTypesWithAClass) {
    Scene s;
    ASSERT_TRUE(s.engine.createNode("Viewer 1", "TestViewer"));
    Node* first = s.node("Viewer 1");
    EXPECT_FALSE(s.engine.createNode("Viewer 1", "TestImage"));
    EXPECT_EQ(s.node("Viewer 1"), first);
    EXPECT_EQ(s.engine.outputNodes, (std::vector<OutputNode*>{static_cast<OutputNode*>(first)}));

    EXPECT_FALSE(s.engine.createNode("a", "No Such Type"));
    EXPECT_FALSE(s.engine.createNode("b", "Glow"));  // built-in, class not attached
    EXPECT_EQ(s.engine.nodesByName.size(), 1u);
    EXPECT_EQ(s.engine.nodeTypes["b"], "Glow");  // recorded, so a save keeps it
    EXPECT_FALSE(s.engine.factory.add("Randomize Material", constructs<test::TestImageNode>()));
    EXPECT_TRUE(s.engine.factory.add("Glow", constructs<test::TestImageNode>()));
    EXPECT_TRUE(s.engine.createNode("Glow 1", "Glow"));
    EXPECT_TRUE(isBuiltinTypeName("ShaderToy"));   // creatable by a project though not offered
    EXPECT_FALSE(isBuiltinTypeName("shadertoy"));  // names compare exactly
}

// A script definition that is nothing but its name.
struct NamedScript : ScriptDefinition {
    explicit NamedScript(std::string name) : name(std::move(name)) {}
    const std::string& typeName() const override { return name; }
    std::string name;
};

TEST(EngineRegistryTest, ScriptTypesComeFromTheScriptsDirectoryAheadOfTheBuiltinNames) {
    test::WorkingDirectory here;
    here.folder().write("Scripts/b.node", "Brighten");
    here.folder().write("Scripts/a.node.txt", "Glow");  // named like a built-in type
    here.folder().write("Scripts/broken.node", "");     // the loader rejects it
    here.folder().write("Scripts/readme.txt", "Ignored");
    here.folder().write("Scripts/sub.node/x", "");  // a directory

    Scene s;
    Names paths, built;
    s.engine.factory.loadScript = [&](const std::string& path) -> std::unique_ptr<ScriptDefinition> {
        paths.push_back(path);
        auto text = platform::readFile(path, 1 << 20);
        if (!text || text->empty()) return nullptr;
        return std::make_unique<NamedScript>(std::string(text->begin(), text->end()));
    };
    s.engine.factory.createScriptNode = [&](Engine& engine, const std::string& nodeName,
                                            const ScriptDefinition& script) -> std::unique_ptr<Node> {
        built.push_back(script.typeName());
        return std::make_unique<test::TestImageNode>(engine, nodeName);
    };
    s.engine.initialise();

    EXPECT_EQ(paths, (Names{".\\Scripts\\a.node.txt", ".\\Scripts\\b.node", ".\\Scripts\\broken.node"}));
    ASSERT_EQ(s.engine.nodeTypeNames.size(), 24u);  // two scripts, then the 22 built-in menu entries
    EXPECT_EQ(Names(s.engine.nodeTypeNames.begin(), s.engine.nodeTypeNames.begin() + 3),
              (Names{"Glow", "Brighten", "Viewer"}));

    platform::DebugCapture capture;
    EXPECT_TRUE(s.engine.createNode("Brighten 1", "Brighten"));
    EXPECT_EQ(capture.text(), "Load Script from File: Brighten\n");
    EXPECT_FALSE(s.engine.createNode("Glow 1", "Glow"));  // the built-in name never means the script
    EXPECT_EQ(built, (Names{"Brighten"}));
}

TEST(EngineRegistryTest, ConnectRefusesBadNamesIndicesKindsAndCycles) {
    Scene s{"a", "b", "c", "d"};
    s.engine.createNode("geo", "TestGeometry");
    s.engine.createNode("view", "TestViewer");
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

TEST(EngineRegistryTest, DeletingANodeLeavesNoPointerToIt) {
    Scene s{"src", "x", "y", "late"};
    s.engine.createNode("view", "TestViewer");
    s.engine.connect("src", "x", 0);
    s.engine.connect("src", "x", 2);
    s.engine.connect("src", "y", 1);
    s.engine.connect("x", "y", 0);
    s.engine.connect("y", "view", 0);
    // Into an occupied input: the old source stays, but the new one lists the target.
    EXPECT_TRUE(s.engine.connect("late", "view", 0));
    Node *x = s.node("x"), *y = s.node("y");

    EXPECT_TRUE(s.engine.deleteNode("src"));
    EXPECT_EQ(x->inputs, (Nodes{nullptr, nullptr, nullptr}));
    EXPECT_EQ(y->inputs, (Nodes{x, nullptr, nullptr}));
    EXPECT_FALSE(s.engine.deleteNode("src"));
    EXPECT_TRUE(s.engine.deleteNode("view"));
    EXPECT_TRUE(s.node("late")->outputs.empty());
    EXPECT_TRUE(y->outputs.empty());
    EXPECT_TRUE(s.engine.deleteNode("y"));
    EXPECT_TRUE(x->outputs.empty());
    EXPECT_TRUE(s.engine.outputNodes.empty());
}

TEST(EngineRegistryTest, DisconnectEmptiesOneInputAndOneListing) {
    Scene s{"src", "x"};
    s.engine.connect("src", "x", 0);
    s.engine.connect("src", "x", 2);
    EXPECT_TRUE(s.engine.disconnect("x", 0));
    EXPECT_EQ(s.node("x")->inputs, (Nodes{nullptr, nullptr, s.node("src")}));
    EXPECT_EQ(s.node("src")->outputs, (Nodes{s.node("x")}));  // still feeds input 2
    EXPECT_FALSE(s.engine.disconnect("x", 0));
    EXPECT_FALSE(s.engine.disconnect("x", 3));
}

TEST(EngineRegistryTest, DeletingANodeDropsItsTypeTracksLinksAndBindings) {
    Scene s{"Glow 1", "Glow 2"};
    test::FakeSyncState sync;
    s.engine.syncConnectionFactory = [&](const std::string&) { return std::make_unique<test::FakeSyncConnection>(sync); };
    s.engine.typeCounters["TestImage"] = 2;
    s.engine.ensureTracks("Glow 1", "Amount");
    s.engine.linkSyncTrack("Glow 1", "glow:amount", "Amount");
    s.engine.linkSyncTrack("Glow 2", "glow2:amount", "Amount");
    ASSERT_TRUE(s.engine.connectSync());

    EXPECT_TRUE(s.engine.deleteNode("Glow 1"));
    EXPECT_EQ(s.engine.typeCounters.count("TestImage"), 0u);
    EXPECT_EQ(s.engine.nodeTypes.count("Glow 1"), 0u);
    EXPECT_EQ(s.engine.tracksByNode.count("Glow 1"), 0u);
    ASSERT_EQ(s.engine.syncLinks.size(), 1u);
    Names bound;
    for (const auto& binding : s.engine.syncBindings) bound.push_back(binding.trackName);
    std::sort(bound.begin(), bound.end());
    // Glow 1's own binding (into a member that is no parameter) went too.
    EXPECT_EQ(bound, (Names{"Glow 2#own", "glow2:amount"}));
    s.engine.update(0.0f);  // writes only into live nodes (ASan would see otherwise)
}

TEST(EngineRegistryTest, ClearSceneLeavesNothingForTheNextSave) {
    Scene s{"a"};
    s.engine.createNode("view", "TestViewer");
    s.engine.createNode("ghost", "Unknown Type");
    s.engine.connect("a", "view", 0);
    s.engine.typeCounters["x"] = 3;
    s.engine.ensureTracks("a", "Amount");
    s.engine.linkSyncTrack("a", "t", "Amount");
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
