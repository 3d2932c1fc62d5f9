#include "tools/project/ProjectTool.h"

#include <gtest/gtest.h>

#include <sstream>

#include "engine/ProjectWriter.h"
#include "tests/support/TempDir.h"

namespace vorn::tools {
namespace {

using namespace engine;

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

ToolRun run(const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int status = runProjectTool(args, out, err);
    return {status, out.str(), err.str()};
}

// A document with every section and value kind, as our writer stores them.
ProjectDocument everything() {
    ProjectDocument document;
    document.sections.emplace_back(ProjectHeader{"demo", ".\\rsrc\\", ".\\rsrc\\track.mp3", ".\\rsrc\\track.wav", "200"});
    document.sections.emplace_back(NodesSection{{"Glow 1", "Glow"}, {"Viewer 1", "Viewer"}, {"\xE9t\xE9", "Glow"}});
    document.sections.emplace_back(CountersSection{{"Glow", 2}, {"Viewer", 1}});
    document.sections.emplace_back(WiringSection{{"Viewer 1", {{0, "Glow 1"}}}, {"Glow 1", {{0, ""}, {1, ""}}}});
    ParameterGroup group{"Glow 1", {}};
    for (uint32_t code = 0; code <= 6; ++code) {
        StoredParameter parameter;
        parameter.name = "P" + std::to_string(code);
        parameter.typeCode = code;
        parameter.byte = 1;
        parameter.integer = -12345;
        parameter.floats = {0.1f, -2.5e-7f, 3.0e38f, -0.0f};
        if (code == 3) parameter.floats = {0.1f, 0.2f, 0.0f, 0.0f};  // the unused components stay zero
        parameter.text = "C:\\demo\\\xC4pfel.png";
        group.parameters.push_back(parameter);
    }
    document.sections.emplace_back(ParametersSection{group, {"Viewer 1", {}}});
    document.sections.emplace_back(TracksSection{
        {"Glow 1", {{"Glow 1.P2", "Glow 1", 0.0f, 10.0f, {{1.0f, 0.0f, 1}, {0.3f, 1.7f, 3}, {2.0f, 1.7f, 99}}}}}});
    document.sections.emplace_back(LinksSection{{"Glow 1", "glow#P2", "P2"}});
    return document;
}

TEST(ProjectToolTest, DumpThenBuildGivesTheSameBytes) {
    test::TempDir dir;
    std::vector<uint8_t> original = writeProjectDocument(everything());
    std::string vorn = dir.write("demo.vorn", original);

    ToolRun dumped = run({"dump", vorn});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.err, "");
    EXPECT_NE(dumped.out.find("\"name\": \"Viewer 1\""), std::string::npos);  // readable, file order
    EXPECT_LT(dumped.out.find("\"section\": \"header\""), dumped.out.find("\"section\": \"links\""));
    std::string json = dir.write("demo.json", dumped.out);

    ToolRun built = run({"build", json, "-o", dir.file("again.vorn")});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(test::readBytes(dir.file("again.vorn")), original);
}

TEST(ProjectToolTest, DamagedOrForeignFilesGetOneLineAndStatusOne) {
    test::TempDir dir;
    std::vector<uint8_t> bytes = writeProjectDocument(everything());
    bytes.resize(bytes.size() - 5);
    for (const std::string& path : {dir.write("cut.vorn", bytes), dir.write("text.vorn", "just text"),
                                    dir.file("missing.vorn")}) {
        ToolRun dumped = run({"dump", path});
        EXPECT_EQ(dumped.status, 1) << path;
        EXPECT_EQ(dumped.out, "");
        ASSERT_FALSE(dumped.err.empty());
        EXPECT_EQ(dumped.err.find('\n'), dumped.err.size() - 1) << dumped.err;
        EXPECT_EQ(dumped.err.rfind("vorn-project: ", 0), 0u) << dumped.err;
    }
    EXPECT_NE(run({"dump", dir.file("cut.vorn")}).err.find("truncated inside the links section"), std::string::npos);
}

TEST(ProjectToolTest, BadJsonGetsOneLineAndWritesNothing) {
    test::TempDir dir;
    for (const char* text : {"{\"sections\": [", "{\"sections\": [{\"section\": \"nodes\", \"entries\": 5}]}"}) {
        std::string json = dir.write("bad.json", text);
        ToolRun built = run({"build", json, "-o", dir.file("out.vorn")});
        EXPECT_EQ(built.status, 1);
        EXPECT_EQ(built.err.find('\n'), built.err.size() - 1) << built.err;
        EXPECT_TRUE(test::readBytes(dir.file("out.vorn")).empty());
    }
}

TEST(ProjectToolTest, AWrongCommandLineShowsTheUsage) {
    ToolRun wrong = run({"build", "a.json", "b.vorn"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err.rfind("usage: vorn-project", 0), 0u);
    EXPECT_EQ(run({}).status, 2);
}

}  // namespace
}  // namespace vorn::tools
