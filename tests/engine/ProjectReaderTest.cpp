// Damaged project files: what the reader keeps, and that no count in the file
// is trusted.
#include "engine/ProjectReader.h"

#include <gtest/gtest.h>

#include "engine/ProjectWriter.h"
#include "platform/Debug.h"
#include "tests/engine/ProjectBytes.h"

namespace vorn::engine {
namespace {

using test::ProjectBytes;

// A track section "N" with one track "N.P" of range 0..1, up to its key count.
ProjectBytes trackUpToKeys() {
    ProjectBytes b;
    b.magic().u32(0x86869005).u32(1).text("N").u32(1).text("N.P").text("N").f32(0.0f).f32(1.0f);
    return b;
}

TEST(ProjectReaderTest, BytesWithoutTheMagicAreNotAProject) {
    ProjectBytes otherMagic;
    otherMagic.u32(0x86875004).header("a", "b", "c", "d", "e");
    for (const auto& bytes : {std::vector<uint8_t>{}, std::vector<uint8_t>{0x03, 0x50, 0x87}, otherMagic.bytes}) {
        ProjectReadResult read = readProjectDocument(bytes);
        EXPECT_EQ(read.status, ProjectReadStatus::NotAProject);
        EXPECT_TRUE(read.document.sections.empty());
    }
}

TEST(ProjectReaderTest, ATruncatedFileKeepsEveryCompleteEntryBeforeTheCut) {
    ProjectDocument document;
    document.sections.emplace_back(ProjectHeader{"demo", "r", "m", "a", "200"});
    document.sections.emplace_back(NodesSection{{"Glow 1", "Glow"}, {"Viewer 1", "Viewer"}});
    document.sections.emplace_back(WiringSection{{"Viewer 1", {{0, "Glow 1"}}}});
    StoredParameter amount{"Amount", 2};
    document.sections.emplace_back(ParametersSection{{"Glow 1", {amount, amount}}});
    document.sections.emplace_back(TracksSection{{"Glow 1", {{"Glow 1.Amount", "Glow 1", 0, 1, {{1, 0, 1}, {3, 2, 1}}}}}});
    document.sections.emplace_back(LinksSection{{"Glow 1", "glow#Amount", "Amount"}});
    std::vector<uint8_t> full = writeProjectDocument(document);

    std::size_t previousSize = 0;
    int complete = 0;
    for (std::size_t cut = 4; cut < full.size(); ++cut) {
        ProjectReadResult read = readProjectDocument(std::span(full.data(), cut));
        if (read.status == ProjectReadStatus::Complete) {
            ++complete;  // cut exactly between sections
        } else {
            ASSERT_EQ(read.status, ProjectReadStatus::Truncated) << cut;
            EXPECT_NE(read.problem.find("truncated"), std::string::npos) << read.problem;
        }
        // Rewritten, a longer prefix never gives fewer bytes: nothing read is dropped.
        std::size_t size = writeProjectDocument(read.document).size();
        EXPECT_GE(size, previousSize) << "cut at " << cut;
        previousSize = size;
    }
    EXPECT_EQ(complete, 6);  // after the magic and after each of the first five sections

    ProjectBytes cutKey = trackUpToKeys();
    cutKey.u32(3).f32(1.0f).f32(0.0f).u32(1).f32(2.0f).f32(1.0f).u32(1).f32(3.0f);  // third key cut short
    ProjectReadResult read = readProjectDocument(cutKey.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Truncated);
    EXPECT_EQ(std::get<TracksSection>(read.document.sections[0])[0].tracks[0].keys.size(), 2u);
}

TEST(ProjectReaderTest, HugeCountsInAShortFileEndTheReadWithoutAllocating) {
    for (uint32_t marker : {0x86869002u, 0x86869001u, 0x86869003u, 0x86869004u, 0x86869005u, 0x86869006u}) {
        ProjectBytes b;
        b.magic().u32(marker).u32(0xFFFFFFFF).text("a").text("b");
        EXPECT_EQ(readProjectDocument(b.bytes).status, ProjectReadStatus::Truncated) << std::hex << marker;
    }
    ProjectBytes keys = trackUpToKeys();
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
    EXPECT_EQ(counters[0].key, std::string(4094, 'x') + "y");
    EXPECT_EQ(counters[0].value, 7u);
    EXPECT_EQ(counters[1].key, "next");
    EXPECT_EQ(capture.text(), "project text at byte 12 is 5000 bytes long; kept the first 4095\n");
}

TEST(ProjectReaderTest, UnknownMarkersAreKeptButUnknownParameterTypesAndStrayBytesEndTheRead) {
    ProjectBytes markers;
    markers.magic().u32(0x12345678).u32(0x86869001).u32(0).u32(0x86869001).u32(1).text("k").u32(9);
    ProjectReadResult read = readProjectDocument(markers.bytes);
    ASSERT_EQ(read.status, ProjectReadStatus::Complete);
    ASSERT_EQ(read.document.sections.size(), 3u);  // sections may repeat
    EXPECT_EQ(std::get<UnknownMarker>(read.document.sections[0]).marker, 0x12345678u);

    ProjectBytes badType;
    badType.magic().u32(0x86869004).u32(2).text("N").u32(2).text("A").u32(2).f32(1.5f).text("B").u32(9).f32(2.0f);
    badType.text("M").u32(0);
    read = readProjectDocument(badType.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Damaged);
    EXPECT_NE(read.problem.find("unknown type code 9"), std::string::npos) << read.problem;
    const auto& groups = std::get<ParametersSection>(read.document.sections[0]);
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].parameters.size(), 1u);
    EXPECT_EQ(groups[0].parameters[0].floats[0], 1.5f);

    ProjectBytes stray;
    stray.magic().u32(0x86869001).u32(0).byte(0x02).byte(0x90);
    read = readProjectDocument(stray.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Truncated);
    EXPECT_EQ(read.document.sections.size(), 1u);
}

}  // namespace
}  // namespace vorn::engine
