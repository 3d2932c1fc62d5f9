#include "engine/ProjectWriter.h"

#include <gtest/gtest.h>

#include <cmath>

#include "engine/ProjectReader.h"
#include "platform/Debug.h"
#include "tests/engine/ProjectBytes.h"

namespace vorn::engine {
namespace {

using test::ProjectBytes;

StoredParameter stored(const std::string& name, uint32_t typeCode) {
    StoredParameter parameter;
    parameter.name = name;
    parameter.typeCode = typeCode;
    return parameter;
}

TEST(ProjectWriterTest, WritesTheMagicAndEachSectionFieldByField) {
    ProjectDocument document;
    document.sections.emplace_back(ProjectHeader{"demo", "r", "m", "a", "200"});
    document.sections.emplace_back(NodesSection{{"Glow 1", "Glow"}});
    document.sections.emplace_back(WiringSection{{"Glow 1", {{0, ""}, {1, "Src"}}}});
    StoredParameter vec2 = stored("Offset", 3);
    vec2.floats = {0.5f, -1.0f, 9.0f, 9.0f};
    StoredParameter flag = stored("On", 0);
    flag.byte = 1;
    StoredParameter text = stored("File", 5);
    text.text = "a\xFF";
    document.sections.emplace_back(ParametersSection{{"Glow 1", {vec2, flag, text, stored("M", 6)}}});
    document.sections.emplace_back(TracksSection{{"Glow 1", {{"Glow 1.A", "Glow 1", -1.0f, 2.0f, {{4.0f, 0.5f, 3}}}}}});
    document.sections.emplace_back(LinksSection{{"Glow 1", "t", "A"}});
    document.sections.emplace_back(UnknownMarker{0xCAFEF00D});

    ProjectBytes expected;
    expected.magic().header("demo", "r", "m", "a", "200");
    expected.u32(0x86869002).u32(1).text("Glow 1").text("Glow");
    expected.u32(0x86869003).u32(1).text("Glow 1").u32(2).u32(0).text("").u32(1).text("Src");
    expected.u32(0x86869004).u32(1).text("Glow 1").u32(4);
    expected.text("Offset").u32(3).f32(0.5f).f32(-1.0f);
    expected.text("On").u32(0).byte(1);
    expected.text("File").u32(5).text("a\xFF");
    expected.text("M").u32(6);
    expected.u32(0x86869005).u32(1).text("Glow 1").u32(1).text("Glow 1.A").text("Glow 1").f32(-1.0f).f32(2.0f);
    expected.u32(1).f32(4.0f).f32(0.5f).u32(3);
    expected.u32(0x86869006).u32(1).text("Glow 1").text("t").text("A");
    expected.u32(0xCAFEF00D);
    EXPECT_EQ(writeProjectDocument(document), expected.bytes);
}

TEST(ProjectWriterTest, WrittenDocumentsReadBackUnchanged) {
    ProjectDocument document;
    document.sections.emplace_back(CountersSection{{"Glow", 4}, {"\x80\x01", 0xFFFFFFFF}});
    StoredParameter color = stored("Color", 4);
    color.floats = {-0.0f, 1e-40f, 3.4028235e38f, 0.1f};
    StoredParameter integer = stored("I", 1);
    integer.integer = -2147483647 - 1;
    document.sections.emplace_back(ParametersSection{{"N", {color, integer}}, {"Empty", {}}});
    std::vector<uint8_t> bytes = writeProjectDocument(document);

    ProjectReadResult read = readProjectDocument(bytes);
    ASSERT_EQ(read.status, ProjectReadStatus::Complete);
    EXPECT_EQ(writeProjectDocument(read.document), bytes);
    const auto& counters = std::get<CountersSection>(read.document.sections[0]);
    EXPECT_EQ(counters[1].key, "\x80\x01");
    EXPECT_EQ(counters[1].value, 0xFFFFFFFFu);
    const auto& groups = std::get<ParametersSection>(read.document.sections[1]);
    EXPECT_TRUE(std::signbit(groups[0].parameters[0].floats[0]));
    EXPECT_EQ(groups[0].parameters[0].floats[1], 1e-40f);
    EXPECT_EQ(groups[0].parameters[1].integer, -2147483647 - 1);
    EXPECT_TRUE(groups[1].parameters.empty());
}

TEST(ProjectWriterTest, TextsAreCutWhereReadersWouldStop) {
    ProjectDocument document;
    document.sections.emplace_back(
        CountersSection{{std::string("ab\0cd", 5), 1}, {std::string(5000, 'z'), 2}});
    platform::DebugCapture capture;
    ProjectReadResult read = readProjectDocument(writeProjectDocument(document));
    ASSERT_EQ(read.status, ProjectReadStatus::Complete);
    const auto& counters = std::get<CountersSection>(read.document.sections[0]);
    EXPECT_EQ(counters[0].key, "ab");
    EXPECT_EQ(counters[0].value, 1u);
    EXPECT_EQ(counters[1].key, std::string(4095, 'z'));
    EXPECT_EQ(counters[1].value, 2u);
    EXPECT_TRUE(capture.contains("cut to 2 bytes"));
    EXPECT_TRUE(capture.contains("cut to 4095 bytes"));
}

TEST(ProjectWriterTest, ParametersWithoutAnEncodingAreLeftOut) {
    ProjectDocument document;
    StoredParameter bad = stored("Bad", 12);
    StoredParameter good = stored("Good", 1);
    good.integer = 5;
    document.sections.emplace_back(ParametersSection{{"N", {bad, good}}});
    platform::DebugCapture capture;
    ProjectReadResult read = readProjectDocument(writeProjectDocument(document));
    ASSERT_EQ(read.status, ProjectReadStatus::Complete);
    const auto& parameters = std::get<ParametersSection>(read.document.sections[0])[0].parameters;
    ASSERT_EQ(parameters.size(), 1u);
    EXPECT_EQ(parameters[0].integer, 5);
    EXPECT_TRUE(capture.contains("\"Bad\""));
}

}  // namespace
}  // namespace vorn::engine
