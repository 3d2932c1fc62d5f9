#include "tools/project/ProjectJson.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>

#include "engine/ProjectWriter.h"

namespace vorn::tools {
namespace {

using namespace engine;

// Document -> JSON text -> document, as dump followed by build does it.
ProjectDocument throughJsonText(const ProjectDocument& document) {
    std::string text = documentToJson(document).dump(2, ' ', false, nlohmann::detail::error_handler_t::strict);
    return documentFromJson(Json::parse(text));
}

uint32_t bitsOf(float value) {
    uint32_t bits;
    std::memcpy(&bits, &value, 4);
    return bits;
}

float floatOf(uint32_t bits) {
    float value;
    std::memcpy(&value, &bits, 4);
    return value;
}

TEST(ProjectJsonTest, EveryByteOfATextSurvivesAsLatin1) {
    std::string all;
    for (int b = 1; b < 256; ++b) all.push_back(char(b));
    ProjectDocument document;
    document.sections.emplace_back(CountersSection{{all, 1}});
    auto back = throughJsonText(document);
    EXPECT_EQ(std::get<CountersSection>(back.sections[0])[0].key, all);
}

TEST(ProjectJsonTest, EveryFloatSurvivesBitForBit) {
    std::vector<uint32_t> patterns = {
        bitsOf(0.1f), bitsOf(1.0f / 3.0f), bitsOf(-0.0f), 0x00000001, 0x007FFFFF, 0x00800000, 0x7F7FFFFF,
        0xFF7FFFFF, 0x7F800000, 0xFF800000, 0x7FC00000, 0x7FC00001, 0xFFBFFFFF, bitsOf(16.496f), bitsOf(1e10f)};
    std::mt19937 random(7);
    for (int i = 0; i < 20000; ++i) patterns.push_back(uint32_t(random()));

    ProjectDocument document;
    TrackGroup group{"N", {}};
    StoredTrack track{"N.P", "N", floatOf(0x7FC00123), -0.0f, {}};
    for (std::size_t i = 0; i + 1 < patterns.size(); i += 2)
        track.keys.push_back(Keyframe{floatOf(patterns[i]), floatOf(patterns[i + 1]), int32_t(i)});
    group.tracks.push_back(track);
    document.sections.emplace_back(TracksSection{group});

    auto back = throughJsonText(document);
    const StoredTrack& read = std::get<TracksSection>(back.sections[0])[0].tracks[0];
    EXPECT_EQ(bitsOf(read.rangeMin), 0x7FC00123u);
    EXPECT_EQ(bitsOf(read.rangeMax), 0x80000000u);
    ASSERT_EQ(read.keys.size(), track.keys.size());
    for (std::size_t i = 0; i < read.keys.size(); ++i) {
        ASSERT_EQ(bitsOf(read.keys[i].value), bitsOf(track.keys[i].value)) << i;
        ASSERT_EQ(bitsOf(read.keys[i].time), bitsOf(track.keys[i].time)) << i;
    }
}

TEST(ProjectJsonTest, AHandWrittenProjectBuildsTheDocumentItDescribes) {
    Json json = Json::parse(R"({
      "sections": [
        {"section": "nodes", "entries": [{"name": "Glow 1", "type": "Glow"}]},
        {"section": "parameters", "entries": [{"node": "Glow 1", "parameters": [
          {"name": "On", "type": 0, "value": true},
          {"name": "Raw", "type": 0, "value": 7},
          {"name": "Mode", "type": 1, "value": -3},
          {"name": "Amount", "type": 2, "value": 2},
          {"name": "Pos", "type": 3, "value": [0.5, "0x3F800000"]},
          {"name": "File", "type": 5, "value": "caf\u00e9.png"},
          {"name": "Multi", "type": 6}
        ]}]},
        {"section": "unknown", "marker": 305419896}
      ]})");
    ProjectDocument document = documentFromJson(json);
    ASSERT_EQ(document.sections.size(), 3u);
    const auto& parameters = std::get<ParametersSection>(document.sections[1])[0].parameters;
    EXPECT_EQ(parameters[0].byte, 1);
    EXPECT_EQ(parameters[1].byte, 7);
    EXPECT_EQ(parameters[2].integer, -3);
    EXPECT_EQ(parameters[3].floats[0], 2.0f);
    EXPECT_EQ(parameters[4].floats[1], 1.0f);
    EXPECT_EQ(parameters[5].text, "caf\xE9.png");
    EXPECT_EQ(parameters[6].typeCode, 6u);
    EXPECT_EQ(std::get<UnknownMarker>(document.sections[2]).marker, 0x12345678u);
}

std::string errorFor(const std::string& text) {
    try {
        documentFromJson(Json::parse(text));
    } catch (const ProjectJsonError& e) {
        return e.what();
    }
    return "no error";
}

TEST(ProjectJsonTest, JsonThatDescribesNoReadableProjectIsRefusedSayingWhere) {
    EXPECT_EQ(errorFor(R"({"sections": [{"section": "nodes", "entries": [{"name": "\u20ac", "type": "T"}]}]})"),
              "project.sections[0].entries[0].name: characters above U+00FF cannot be stored: texts are 8-bit");
    EXPECT_EQ(errorFor(R"({"sections": [{"section": "nodes", "entries": [{"name": "a\u0000b", "type": "T"}]}]})"),
              "project.sections[0].entries[0].name: a text cannot hold U+0000");
    EXPECT_EQ(errorFor(R"({"sections": [{"section": "parameters", "entries": [{"node": "n", "parameters": [
                 {"name": "p", "type": 7, "value": 1}]}]}]})"),
              "project.sections[0].entries[0].parameters[0].type: type codes run from 0 to 6");
    EXPECT_EQ(errorFor(R"({"sections": [{"section": "parameters", "entries": [{"node": "n", "parameters": [
                 {"name": "p", "type": 4, "value": [1, 2, 3]}]}]}]})"),
              "project.sections[0].entries[0].parameters[0].value: expected 4 numbers");
    EXPECT_EQ(errorFor(R"({"sections": [{"section": "unknown", "marker": "0x86869002"}]})"),
              "project.sections[0].marker: a section's marker cannot stand alone");
    EXPECT_EQ(errorFor(R"({"sections": [{"section": "links", "entries": [{"node": "n", "track": "t"}]}]})"),
              "project.sections[0].entries[0]: missing \"parameter\"");
    std::string longText(4096, 'a');
    EXPECT_EQ(errorFor(R"({"sections": [{"section": "counters", "entries": [{"key": ")" + longText +
                       R"(", "value": 1}]}]})"),
              "project.sections[0].entries[0].key: a text holds at most 4095 bytes");
}

}  // namespace
}  // namespace vorn::tools
