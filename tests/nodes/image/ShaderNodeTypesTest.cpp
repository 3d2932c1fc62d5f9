#include "nodes/image/ShaderNodeTypes.h"

#include "platform/Debug.h"
#include "platform/Paths.h"
#include "tests/nodes/image/ShaderTestSupport.h"
#include "tests/support/BuildFolders.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

namespace vorn::test {
namespace {

class ScriptTypes : public ShaderNodeTest {
protected:
    void SetUp() override {
        ShaderNodeTest::SetUp();
        const TempDir& folder = here.folder();
        folder.write("Scripts/b.node", "Name \"Beta\" \"b\"\nSourceLib LumaToAlpha\n");
        folder.write("Scripts/a.node", "Name \"Alpha\" \"a\"\nInput 0, \"Source\" \"rgba\"\nSourceLib ColorCorrect\n");
        folder.write("Scripts/Glow.node", "Name \"Glow\" \"Glow\"\nSourceLib LumaToAlpha\n");
        folder.write("Scripts/Lost.node.txt", "Name \"Lost\" \"Lost\"\nSourceLib Vanished\n");
        folder.write("Scripts/readme.txt", "Name \"NotAScript\" \"x\"\n");
        folder.write("Scripts/Broken.node", "Name \"Broken\" \"x\"\nSource\nnot glsl\n");
        platform::makeDirectory(folder.file("Scripts/folder.node"));
        engine.initialise();
    }

    WorkingDirectory here;
};

TEST_F(ScriptTypes, ScriptNamesComeFirstInListingOrderThenTheBuiltInMenu) {
    // Listed case-insensitively: a, b, Broken, Glow, Lost.node.txt; readme.txt and the folder are no scripts.
    std::vector<std::string> first(engine.nodeTypeNames.begin(), engine.nodeTypeNames.begin() + 5);
    EXPECT_EQ(first, (std::vector<std::string>{"Alpha", "Beta", "Broken", "Glow", "Lost"}));
    ASSERT_EQ(engine.nodeTypeNames.size(), 5u + 22u);
    EXPECT_EQ(engine.nodeTypeNames[5], "Viewer");
    EXPECT_EQ(engine.nodeTypeNames.back(), "Render_Flake");
    EXPECT_EQ(engine.scripts.size(), 5u);
}

TEST_F(ScriptTypes, ScriptNodesAreBuiltFromTheirDescriptionAndBrokenOnesAreInError) {
    platform::DebugCapture capture;
    ASSERT_TRUE(engine.createNode("Alpha 1", "Alpha"));
    EXPECT_TRUE(capture.contains("Load Script from File: Alpha\n"));
    auto* node = dynamic_cast<nodes::ImageNode_Shader*>(engine.findNode("Alpha 1"));
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->inputNames, std::vector<std::string>{"Source"});
    EXPECT_EQ(node->description.source, *nodes::effectLibrarySource("ColorCorrect"));
    EXPECT_FALSE(node->hasError);
    for (const char* type : {"Broken", "Lost"}) {  // no GLSL, or a library source that does not exist
        ASSERT_TRUE(engine.createNode(std::string(type) + " 1", type));
        EXPECT_TRUE(static_cast<nodes::ImageNode_Shader*>(engine.findNode(std::string(type) + " 1"))->hasError);
    }
}

// A description that cannot be read (here a FIFO, which must not hang the
// start) makes no type; a node of that type then says which node and type.
TEST_F(ScriptTypes, AnUnreadableDescriptionIsReportedAndSoIsEveryNodeOfItsType) {
    ASSERT_EQ(::mkfifo(here.folder().file("Scripts/Pipe.node").c_str(), 0600), 0);
    platform::DebugCapture capture;
    engine.loadScripts();
    EXPECT_TRUE(capture.contains("cannot read shader description ./Scripts/Pipe.node: is not a regular file\n"))
        << capture.text();
    EXPECT_EQ(engine.scripts.size(), 5u);
    capture.clear();
    EXPECT_FALSE(engine.createNode("Pipe 1", "Pipe"));
    EXPECT_EQ(capture.text(), "cannot create node \"Pipe 1\" of type \"Pipe\": no such type\n");
}

// The GLSL declaration a parameter of this kind must meet in the source.
std::string uniformType(int32_t kind) {
    switch (kind) {
        case nodes::ShaderParam::Float:
        case nodes::ShaderParam::SyncTrack:
            return "float";
        case nodes::ShaderParam::IntFloat:
        case nodes::ShaderParam::Choice:
            return "int";
        case nodes::ShaderParam::Direction:
        case nodes::ShaderParam::Position:
            return "vec2";
        case nodes::ShaderParam::Colour:
            return "vec4";
        default:
            return "";
    }
}

class DemoScripts : public ShaderNodeTest {};

TEST_F(DemoScripts, BuildAndDeclareEveryInputAndParameterWithItsType) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator(sourceFolder() + "/demo/Scripts")) {
        nodes::ShaderDescription description;
        ASSERT_TRUE(nodes::ParseShaderDescription(entry.path().string(), description));
        SCOPED_TRACE(entry.path().filename().string());
        EXPECT_FALSE(description.name.empty());
        EXPECT_FALSE(description.sourceMissing);
        for (const std::string& input : description.inputNames)
            EXPECT_NE(description.source.find("uniform sampler2D " + input + ";"), std::string::npos) << input;
        for (const nodes::ShaderParam& param : description.parameters)
            EXPECT_NE(description.source.find("uniform " + uniformType(param.kind) + " " + param.name + ";"),
                      std::string::npos)
                << param.name;
        auto node = std::make_unique<nodes::ImageNode_Shader>(engine, description.name, description);
        EXPECT_FALSE(node->hasError);
        EXPECT_TRUE(engine.addNode(description.name, std::move(node)));
        ++count;
    }
    EXPECT_GE(count, 3);
}

}  // namespace
}  // namespace vorn::test
