#include "tools/project/ProjectTool.h"

#include "engine/ProjectWriter.h"
#include "tests/support/TempDir.h"
#include "tests/tools/ToolRun.h"
#include "tools/project/ProjectJson.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <numeric>
#include <random>

namespace vorn::test {
namespace {

using namespace engine;
using tools::Json;

ToolRun run(const std::vector<std::string>& args) { return runTool(tools::runProjectTool, args); }

// A document with every section and value kind, every byte a text may hold,
// and floats of every kind (NaN payloads, -0, subnormals, infinities, random bits).
ProjectDocument everything() {
    std::string allBytes(255, 0);
    std::iota(allBytes.begin(), allBytes.end(), char(1));
    ProjectDocument document;
    document.sections.emplace_back(ProjectHeader{"demo", ".\\rsrc\\", ".\\rsrc\\track.mp3", ".\\rsrc\\track.wav", "200"});
    document.sections.emplace_back(NodesSection{{"Glow 1", "Glow"}, {"Viewer 1", "Viewer"}, {"\xE9t\xE9", "Glow"}});
    document.sections.emplace_back(CountersSection{{"Glow", 2}, {allBytes, 1}});
    document.sections.emplace_back(WiringSection{{"Viewer 1", {{0, "Glow 1"}}}, {"Glow 1", {{0, ""}, {1, ""}}}});
    ParameterGroup group{"Glow 1", {}};
    for (uint32_t code = 0; code <= 6; ++code) {
        StoredParameter parameter{"P" + std::to_string(code), code, 1, -12345, {0.1f, -2.5e-7f, 3.0e38f, -0.0f},
                                  "C:\\demo\\\xC4pfel.png"};
        if (code == 3) parameter.floats = {0.1f, 0.2f, 0.0f, 0.0f};  // the unused components stay zero
        group.parameters.push_back(parameter);
    }
    document.sections.emplace_back(ParametersSection{group, {"Viewer 1", {}}});
    std::vector<uint32_t> bits = {0x00000001, 0x007FFFFF, 0x00800000, 0x7F7FFFFF, 0xFF7FFFFF, 0x7F800000,
                                  0xFF800000, 0x7FC00000, 0x7FC00001, 0xFFBFFFFF, 0x80000000, 0x3DCCCCCD};
    std::generate_n(std::back_inserter(bits), 4000, std::mt19937(7));
    StoredTrack track{"Glow 1.P2", "Glow 1", std::bit_cast<float>(0x7FC00123u), -0.0f, {}};
    for (std::size_t i = 0; i + 1 < bits.size(); i += 2)
        track.keys.push_back({std::bit_cast<float>(bits[i]), std::bit_cast<float>(bits[i + 1]), int32_t(i)});
    document.sections.emplace_back(TracksSection{{"Glow 1", {track}}});
    document.sections.emplace_back(LinksSection{{"Glow 1", "glow#P2", "P2"}});
    return document;
}

TEST(ProjectToolTest, DumpThenBuildGivesTheSameBytes) {
    TempDir dir;
    std::vector<uint8_t> original = writeProjectDocument(everything());
    ToolRun dumped = run({"dump", dir.write("demo.vorn", original)});
    ASSERT_EQ(dumped.status, 0) << dumped.err;
    EXPECT_EQ(dumped.err, "");
    EXPECT_NE(dumped.out.find("\"name\": \"Viewer 1\""), std::string::npos);  // readable, file order
    EXPECT_LT(dumped.out.find("\"section\": \"header\""), dumped.out.find("\"section\": \"links\""));

    ToolRun built = run({"build", dir.write("demo.json", dumped.out), "-o", dir.file("again.vorn")});
    ASSERT_EQ(built.status, 0) << built.err;
    EXPECT_EQ(readBytes(dir.file("again.vorn")), original);
}

// What a person writes and dump never does: true for a byte, a whole number
// for a float, no value for type 6, a marker as a number.
TEST(ProjectToolTest, AHandWrittenProjectBuildsTheDocumentItDescribes) {
    ProjectDocument document = tools::documentFromJson(Json::parse(R"({"sections": [
        {"section": "parameters", "entries": [{"node": "Glow 1", "parameters": [
          {"name": "On", "type": 0, "value": true},
          {"name": "Raw", "type": 0, "value": 7},
          {"name": "Amount", "type": 2, "value": 2},
          {"name": "Multi", "type": 6}]}]},
        {"section": "unknown", "marker": 305419896}]})"));
    ASSERT_EQ(document.sections.size(), 2u);
    const auto& parameters = std::get<ParametersSection>(document.sections[0])[0].parameters;
    EXPECT_EQ(parameters[0].byte, 1);
    EXPECT_EQ(parameters[1].byte, 7);
    EXPECT_EQ(parameters[2].floats[0], 2.0f);
    EXPECT_EQ(parameters[3].typeCode, 6u);
    EXPECT_EQ(std::get<UnknownMarker>(document.sections[1]).marker, 0x12345678u);
}

TEST(ProjectToolTest, DamagedFilesAndJsonThatDescribesNoProjectGetOneLineSayingWhereAndWriteNothing) {
    TempDir dir;
    std::vector<uint8_t> cut = writeProjectDocument(everything());
    cut.resize(cut.size() - 5);
    const std::pair<std::string, std::string> dumps[] = {
        {dir.write("cut.vorn", cut), "truncated inside the links section"},
        {dir.write("text.vorn", "just text"), "text.vorn: "},
        {dir.file("missing.vorn"), "cannot read "},
    };
    for (const auto& [path, says] : dumps) {
        ToolRun dumped = run({"dump", path});
        EXPECT_EQ(dumped.status, 1) << path;
        EXPECT_EQ(dumped.out, "");
        EXPECT_EQ(dumped.err.rfind("vorn-project: ", 0), 0u) << dumped.err;
        EXPECT_NE(dumped.err.find(says), std::string::npos) << dumped.err;
        EXPECT_TRUE(dumped.oneLine()) << dumped.err;
    }

    const std::string nodes = R"({"sections": [{"section": "nodes", "entries": )";
    const std::string parameter = R"({"sections": [{"section": "parameters", "entries": [{"node": "n", "parameters": [)";
    const std::pair<std::string, std::string> builds[] = {
        {"{\"sections\": [", "parse error"},
        {nodes + R"([{"name": "\u20ac", "type": "T"}]}]})",
         "project.sections[0].entries[0].name: characters above U+00FF cannot be stored: texts are 8-bit"},
        {nodes + R"([{"name": "a\u0000b", "type": "T"}]}]})",
         "project.sections[0].entries[0].name: a text cannot hold U+0000"},
        {parameter + R"({"name": "p", "type": 7, "value": 1}]}]}]})",
         "project.sections[0].entries[0].parameters[0].type: type codes run from 0 to 6"},
        {parameter + R"({"name": "p", "type": 4, "value": [1, 2, 3]}]}]}]})",
         "project.sections[0].entries[0].parameters[0].value: expected 4 numbers"},
        {R"({"sections": [{"section": "unknown", "marker": "0x86869002"}]})",
         "project.sections[0].marker: a section's marker cannot stand alone"},
        {R"({"sections": [{"section": "links", "entries": [{"node": "n", "track": "t"}]}]})",
         "project.sections[0].entries[0]: missing \"parameter\""},
        {R"({"sections": [{"section": "counters", "entries": [{"key": ")" + std::string(4096, 'a') +
             R"(", "value": 1}]}]})",
         "project.sections[0].entries[0].key: a text holds at most 4095 bytes"},
    };
    for (const auto& [json, says] : builds) {
        ToolRun built = run({"build", dir.write("bad.json", json), "-o", dir.file("out.vorn")});
        EXPECT_EQ(built.status, 1) << says;
        EXPECT_NE(built.err.find(says), std::string::npos) << built.err;
        EXPECT_TRUE(built.oneLine()) << built.err;
        EXPECT_FALSE(std::filesystem::exists(dir.file("out.vorn")));
    }

    ToolRun wrong = run({"build", "a.json", "b.vorn"});
    EXPECT_EQ(wrong.status, 2);
    EXPECT_EQ(wrong.err.rfind("usage: vorn-project", 0), 0u);
    EXPECT_EQ(run({}).status, 2);
}

}  // namespace
}  // namespace vorn::test
