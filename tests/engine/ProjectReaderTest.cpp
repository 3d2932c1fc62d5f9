#include "engine/ProjectReader.h"

#include <gtest/gtest.h>

#include "platform/Debug.h"
#include "tests/engine/ProjectBytes.h"

namespace vorn::engine {
namespace {

using test::ProjectBytes;

// A small project touching every section, built field by field.
ProjectBytes everySection() {
    ProjectBytes b;
    b.magic().header("demo", ".\\rsrc\\", ".\\rsrc\\track.mp3", ".\\rsrc\\track.wav", "200");
    b.u32(0x86869002).u32(2).text("Glow 1").text("Glow").text("Viewer 1").text("Viewer");
    b.u32(0x86869001).u32(1).text("Glow").u32(3);
    b.u32(0x86869003).u32(1).text("Viewer 1").u32(2).u32(0).text("Glow 1").u32(1).text("");
    b.u32(0x86869004).u32(1).text("Glow 1").u32(7);
    b.text("On").u32(0).byte(1);
    b.text("Count").u32(1).u32(uint32_t(-5));
    b.text("Amount").u32(2).f32(0.5f);
    b.text("Offset").u32(3).f32(1.0f).f32(-2.0f);
    b.text("Color").u32(4).f32(0.1f).f32(0.2f).f32(0.3f).f32(0.4f);
    b.text("File").u32(5).text("\xE9t\xE9.png");
    b.text("Multi").u32(6);
    b.u32(0x86869005).u32(1).text("Glow 1").u32(1);
    b.text("Glow 1.Amount").text("Glow 1").f32(0.0f).f32(10.0f).u32(2);
    b.f32(1.0f).f32(0.0f).u32(1).f32(3.0f).f32(2.0f).u32(uint32_t(-7));
    b.u32(0x86869006).u32(1).text("Glow 1").text("glow#Amount").text("Amount");
    return b;
}

TEST(ProjectReaderTest, ReadsEverySectionInFileOrder) {
    ProjectReadResult read = readProjectDocument(everySection().bytes);
    ASSERT_EQ(read.status, ProjectReadStatus::Complete) << read.problem;
    const auto& sections = read.document.sections;
    ASSERT_EQ(sections.size(), 7u);

    const auto& header = std::get<ProjectHeader>(sections[0]);
    EXPECT_EQ(header.musicFile, ".\\rsrc\\track.mp3");
    EXPECT_EQ(header.headerText, "200");

    const auto& nodes = std::get<NodesSection>(sections[1]);
    ASSERT_EQ(nodes.size(), 2u);
    EXPECT_EQ(nodes[1].nodeName, "Viewer 1");
    EXPECT_EQ(nodes[1].typeName, "Viewer");
    EXPECT_EQ(std::get<CountersSection>(sections[2])[0].value, 3u);

    const auto& wiring = std::get<WiringSection>(sections[3]);
    ASSERT_EQ(wiring[0].inputs.size(), 2u);
    EXPECT_EQ(wiring[0].inputs[0].source, "Glow 1");
    EXPECT_EQ(wiring[0].inputs[1].index, 1u);
    EXPECT_EQ(wiring[0].inputs[1].source, "");

    const auto& parameters = std::get<ParametersSection>(sections[4])[0].parameters;
    ASSERT_EQ(parameters.size(), 7u);
    EXPECT_EQ(parameters[0].byte, 1);
    EXPECT_EQ(parameters[1].integer, -5);
    EXPECT_EQ(parameters[2].floats[0], 0.5f);
    EXPECT_EQ(parameters[3].floats[1], -2.0f);
    EXPECT_EQ(parameters[4].floats[3], 0.4f);
    EXPECT_EQ(parameters[5].text, "\xE9t\xE9.png");  // 8-bit text as stored
    EXPECT_EQ(parameters[6].typeCode, 6u);

    const auto& track = std::get<TracksSection>(sections[5])[0].tracks[0];
    EXPECT_EQ(track.nodeName, "Glow 1");
    EXPECT_EQ(track.rangeMax, 10.0f);
    ASSERT_EQ(track.keys.size(), 2u);
    EXPECT_EQ(track.keys[1].value, 3.0f);
    EXPECT_EQ(track.keys[1].time, 2.0f);
    EXPECT_EQ(track.keys[1].interpolation, -7);

    const auto& link = std::get<LinksSection>(sections[6])[0];
    EXPECT_EQ(link.trackName, "glow#Amount");
    EXPECT_EQ(link.parameterName, "Amount");
}

TEST(ProjectReaderTest, UnknownMarkersAreSkippedAndKept) {
    ProjectBytes b;
    b.magic().u32(0x12345678).u32(0x86869001).u32(0).u32(0x86869001).u32(1).text("k").u32(9);
    ProjectReadResult read = readProjectDocument(b.bytes);
    ASSERT_EQ(read.status, ProjectReadStatus::Complete);
    ASSERT_EQ(read.document.sections.size(), 3u);
    EXPECT_EQ(std::get<UnknownMarker>(read.document.sections[0]).marker, 0x12345678u);
    EXPECT_TRUE(std::get<CountersSection>(read.document.sections[1]).empty());
    EXPECT_EQ(std::get<CountersSection>(read.document.sections[2])[0].key, "k");  // sections may repeat
}

TEST(ProjectReaderTest, NotAProjectWithoutTheMagic) {
    EXPECT_EQ(readProjectDocument(std::vector<uint8_t>{}).status, ProjectReadStatus::NotAProject);
    EXPECT_EQ(readProjectDocument(std::vector<uint8_t>{0x03, 0x50, 0x87}).status, ProjectReadStatus::NotAProject);
    ProjectBytes b;
    b.u32(0x86875004).header("a", "b", "c", "d", "e");
    ProjectReadResult read = readProjectDocument(b.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::NotAProject);
    EXPECT_TRUE(read.document.sections.empty());
    EXPECT_TRUE(hasProjectMagic(ProjectBytes().magic().bytes));
}

std::size_t entryCount(const ProjectDocument& document) {
    std::size_t count = 0;
    for (const auto& section : document.sections) {
        std::visit(
            [&](const auto& content) {
                using T = std::decay_t<decltype(content)>;
                if constexpr (std::is_same_v<T, ParametersSection>) {
                    for (const auto& group : content) count += 1 + group.parameters.size();
                } else if constexpr (std::is_same_v<T, TracksSection>) {
                    for (const auto& group : content)
                        for (const auto& track : group.tracks) count += 1 + track.keys.size();
                } else if constexpr (std::is_same_v<T, WiringSection>) {
                    for (const auto& record : content) count += 1 + record.inputs.size();
                } else if constexpr (std::is_same_v<T, ProjectHeader> || std::is_same_v<T, UnknownMarker>) {
                    count += 1;
                } else {
                    count += content.size();
                }
            },
            section);
    }
    return count;
}

TEST(ProjectReaderTest, ATruncatedFileKeepsWhatWasReadBeforeTheCut) {
    std::vector<uint8_t> full = everySection().bytes;
    std::size_t previous = 0;
    int complete = 0;
    for (std::size_t cut = 4; cut < full.size(); ++cut) {
        std::vector<uint8_t> part(full.begin(), full.begin() + std::ptrdiff_t(cut));
        ProjectReadResult read = readProjectDocument(part);
        if (read.status == ProjectReadStatus::Complete) {
            ++complete;  // cut exactly between sections
        } else {
            EXPECT_EQ(read.status, ProjectReadStatus::Truncated) << cut;
            EXPECT_NE(read.problem.find("truncated"), std::string::npos) << read.problem;
        }
        std::size_t entries = entryCount(read.document);
        EXPECT_GE(entries, previous) << "cut at " << cut;  // a longer prefix never reads less
        previous = entries;
    }
    EXPECT_EQ(complete, 7);  // after the magic and after each of the first six sections
}

TEST(ProjectReaderTest, ATrackCutInsideItsKeysKeepsTheWholeKeys) {
    ProjectBytes b;
    b.magic().u32(0x86869005).u32(1).text("N").u32(1).text("N.P").text("N").f32(0.0f).f32(1.0f).u32(3);
    b.f32(1.0f).f32(0.0f).u32(1).f32(2.0f).f32(1.0f).u32(1).f32(3.0f);  // third key cut short
    ProjectReadResult read = readProjectDocument(b.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Truncated);
    const auto& track = std::get<TracksSection>(read.document.sections[0])[0].tracks[0];
    ASSERT_EQ(track.keys.size(), 2u);
    EXPECT_EQ(track.keys[1].value, 2.0f);
}

TEST(ProjectReaderTest, HugeCountsInAShortFileEndTheRead) {
    for (uint32_t marker : {0x86869002u, 0x86869001u, 0x86869003u, 0x86869004u, 0x86869005u, 0x86869006u}) {
        ProjectBytes b;
        b.magic().u32(marker).u32(0xFFFFFFFF).text("a").text("b");
        ProjectReadResult read = readProjectDocument(b.bytes);
        EXPECT_EQ(read.status, ProjectReadStatus::Truncated) << std::hex << marker;
    }
    ProjectBytes keys;
    keys.magic().u32(0x86869005).u32(1).text("N").u32(1).text("N.P").text("N").f32(0.0f).f32(1.0f);
    keys.u32(0xFFFFFFFF).f32(5.0f).f32(0.0f).u32(1);
    ProjectReadResult read = readProjectDocument(keys.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Truncated);
    EXPECT_EQ(std::get<TracksSection>(read.document.sections[0])[0].tracks[0].keys.size(), 1u);
}

TEST(ProjectReaderTest, OverlongTextsKeepTheirFirst4095BytesAndTheReadGoesOn) {
    std::string longName(5000, 'x');
    longName[4094] = 'y';
    ProjectBytes b;
    b.magic().u32(0x86869001).u32(2).text(longName).u32(7).text("next").u32(8);
    platform::DebugCapture capture;
    ProjectReadResult read = readProjectDocument(b.bytes);
    ASSERT_EQ(read.status, ProjectReadStatus::Complete);
    const auto& counters = std::get<CountersSection>(read.document.sections[0]);
    ASSERT_EQ(counters.size(), 2u);
    EXPECT_EQ(counters[0].key.size(), 4095u);
    EXPECT_EQ(counters[0].key.back(), 'y');
    EXPECT_EQ(counters[0].value, 7u);
    EXPECT_EQ(counters[1].key, "next");
    EXPECT_EQ(capture.text(), "project text at byte 12 is 5000 bytes long; kept the first 4095\n");
}

TEST(ProjectReaderTest, AParameterTypeWithoutEncodingStopsTheReadAsDamaged) {
    ProjectBytes b;
    b.magic().u32(0x86869004).u32(2).text("N").u32(2).text("A").u32(2).f32(1.5f).text("B").u32(9).f32(2.0f);
    b.text("M").u32(0);
    ProjectReadResult read = readProjectDocument(b.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Damaged);
    EXPECT_NE(read.problem.find("unknown type code 9"), std::string::npos) << read.problem;
    const auto& groups = std::get<ParametersSection>(read.document.sections[0]);
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].parameters.size(), 1u);
    EXPECT_EQ(groups[0].parameters[0].floats[0], 1.5f);
}

TEST(ProjectReaderTest, StrayBytesAfterTheLastSectionAreATruncatedMarker) {
    ProjectBytes b;
    b.magic().u32(0x86869001).u32(0).byte(0x02).byte(0x90);
    ProjectReadResult read = readProjectDocument(b.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Truncated);
    EXPECT_EQ(read.document.sections.size(), 1u);
}

}  // namespace
}  // namespace vorn::engine
