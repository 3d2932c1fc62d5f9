// The project file format: a document of every section is written to bytes
// made by hand, field by field, and those bytes read back to the same bytes.
#include "engine/ProjectWriter.h"

#include <gtest/gtest.h>

#include "engine/ProjectReader.h"
#include "platform/Debug.h"
#include "tests/engine/ProjectBytes.h"

namespace vorn::engine {
namespace {

StoredParameter stored(const std::string& name, uint32_t typeCode) {
    StoredParameter parameter;
    parameter.name = name;
    parameter.typeCode = typeCode;
    return parameter;
}

TEST(ProjectWriterTest, EverySectionWritesFieldByFieldAndReadsBackUnchanged) {
    ProjectDocument document;
    document.sections.emplace_back(ProjectHeader{"demo", "r", "m", "a", "200"});
    document.sections.emplace_back(NodesSection{{"Glow 1", "Glow"}});
    document.sections.emplace_back(CountersSection{{"\x80\x01", 0xFFFFFFFF}});
    document.sections.emplace_back(WiringSection{{"Glow 1", {{0, ""}, {1, "Src"}}}});
    StoredParameter flag = stored("On", 0), integer = stored("I", 1), amount = stored("A", 2);
    StoredParameter vec2 = stored("Offset", 3), color = stored("Color", 4), text = stored("File", 5);
    flag.byte = 1;
    integer.integer = -2147483647 - 1;
    amount.floats[0] = -0.0f;
    vec2.floats = {0.5f, 1e-40f, 9.0f, 9.0f};  // a vec2 writes two floats only
    color.floats = {0.1f, 0.2f, 3.4028235e38f, 0.4f};
    text.text = "a\xFF";
    document.sections.emplace_back(ParametersSection{
        {"Glow 1", {flag, integer, amount, vec2, color, text, stored("M", 6)}}, {"Empty", {}}});
    document.sections.emplace_back(
        TracksSection{{"Glow 1", {{"Glow 1.A", "Glow 1", -1.0f, 2.0f, {{4.0f, 0.5f, 3}, {5.0f, 1.0f, -7}}}}}});
    document.sections.emplace_back(LinksSection{{"Glow 1", "t", "A"}});
    document.sections.emplace_back(UnknownMarker{0xCAFEF00D});

    test::ProjectBytes expected;
    expected.magic().header("demo", "r", "m", "a", "200");
    expected.u32(0x86869002).u32(1).text("Glow 1").text("Glow");
    expected.u32(0x86869001).u32(1).text("\x80\x01").u32(0xFFFFFFFF);
    expected.u32(0x86869003).u32(1).text("Glow 1").u32(2).u32(0).text("").u32(1).text("Src");
    expected.u32(0x86869004).u32(2).text("Glow 1").u32(7);
    expected.text("On").u32(0).byte(1);
    expected.text("I").u32(1).u32(0x80000000);
    expected.text("A").u32(2).u32(0x80000000);
    expected.text("Offset").u32(3).f32(0.5f).f32(1e-40f);
    expected.text("Color").u32(4).f32(0.1f).f32(0.2f).f32(3.4028235e38f).f32(0.4f);
    expected.text("File").u32(5).text("a\xFF");
    expected.text("M").u32(6);
    expected.text("Empty").u32(0);
    expected.u32(0x86869005).u32(1).text("Glow 1").u32(1).text("Glow 1.A").text("Glow 1").f32(-1.0f).f32(2.0f);
    expected.u32(2).f32(4.0f).f32(0.5f).u32(3).f32(5.0f).f32(1.0f).u32(uint32_t(-7));
    expected.u32(0x86869006).u32(1).text("Glow 1").text("t").text("A");
    expected.u32(0xCAFEF00D);
    ASSERT_EQ(writeProjectDocument(document), expected.bytes);

    // The writer is right, so rewriting what was read proves the reader put
    // every field where it belongs.
    ProjectReadResult read = readProjectDocument(expected.bytes);
    ASSERT_EQ(read.status, ProjectReadStatus::Complete) << read.problem;
    EXPECT_EQ(read.document.sections.size(), document.sections.size());
    EXPECT_EQ(writeProjectDocument(read.document), expected.bytes);
}

TEST(ProjectWriterTest, WhatAReaderCouldNotReadBackIsNeverWritten) {
    ProjectDocument document;
    document.sections.emplace_back(CountersSection{{std::string("ab\0cd", 5), 1}, {std::string(5000, 'z'), 2}});
    StoredParameter good = stored("Good", 1);
    good.integer = 5;
    document.sections.emplace_back(ParametersSection{{"N", {stored("Bad", 12), good}}});
    platform::DebugCapture capture;
    ProjectReadResult read = readProjectDocument(writeProjectDocument(document));
    ASSERT_EQ(read.status, ProjectReadStatus::Complete);
    const auto& counters = std::get<CountersSection>(read.document.sections[0]);
    EXPECT_EQ(counters[0].key, "ab");
    EXPECT_EQ(counters[1].key, std::string(4095, 'z'));
    EXPECT_EQ(counters[1].value, 2u);
    const auto& parameters = std::get<ParametersSection>(read.document.sections[1])[0].parameters;
    ASSERT_EQ(parameters.size(), 1u);
    EXPECT_EQ(parameters[0].integer, 5);
    EXPECT_TRUE(capture.contains("cut to 2 bytes"));
    EXPECT_TRUE(capture.contains("cut to 4095 bytes"));
    EXPECT_TRUE(capture.contains("\"Bad\""));
}

}  // namespace
}  // namespace vorn::engine
