// The project file: every section against bytes made by hand, what the reader
// keeps of a damaged file (never trusting a count), the cut of long texts,
// which saved texts become relative, and a scene saved, loaded and merged.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/PathRelocation.h"
#include "engine/ProjectReader.h"
#include "engine/ProjectWriter.h"
#include "platform/Debug.h"
#include "platform/Paths.h"
#include "tests/engine/EngineScene.h"
#include "tests/support/TempDir.h"

namespace vorn::engine {
namespace {

// Project file bytes built field by field, independently of the writer.
struct ProjectBytes {
    std::vector<uint8_t> bytes;

    ProjectBytes& u32(uint32_t v) {
        for (int shift = 0; shift < 32; shift += 8)
            bytes.push_back(uint8_t(v >> shift));
        return *this;
    }
    ProjectBytes& f32(float f) {
        uint32_t bits;
        std::memcpy(&bits, &f, 4);
        return u32(bits);
    }
    ProjectBytes& byte(uint8_t b) {
        bytes.push_back(b);
        return *this;
    }
    ProjectBytes& text(const std::string& t) {
        bytes.insert(bytes.end(), t.begin(), t.end());
        bytes.push_back(0);
        return *this;
    }
    ProjectBytes& magic() { return u32(0x86875003); }
};

StoredParameter stored(const std::string& name, uint32_t typeCode) {
    StoredParameter parameter;
    parameter.name = name;
    parameter.typeCode = typeCode;
    return parameter;
}

TEST(ProjectFileTest, EverySectionWritesFieldByFieldAndReadsBackUnchanged) {
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

    ProjectBytes expected;
    expected.magic().u32(0x86869000).text("demo").text("r").text("m").text("a").text("200");
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
    EXPECT_EQ(writeProjectDocument(read.document), expected.bytes);

    // Every cut of the file keeps each complete entry before the cut.
    std::size_t previousSize = 0;
    for (std::size_t cut = 4; cut < expected.bytes.size(); ++cut) {
        read = readProjectDocument(std::span(expected.bytes.data(), cut));
        EXPECT_NE(read.status, ProjectReadStatus::Damaged) << cut;
        std::size_t size = writeProjectDocument(read.document).size();
        EXPECT_GE(size, previousSize) << "a longer prefix lost something, cut at " << cut;
        previousSize = size;
    }
}

TEST(ProjectFileTest, DamageEndsTheReadKeepingWhatCameBeforeAndNoCountIsTrusted) {
    for (uint32_t marker : {0x86869002u, 0x86869001u, 0x86869003u, 0x86869004u, 0x86869005u, 0x86869006u}) {
        ProjectBytes b;
        b.magic().u32(marker).u32(0xFFFFFFFF).text("a").text("b");
        EXPECT_EQ(readProjectDocument(b.bytes).status, ProjectReadStatus::Truncated) << std::hex << marker;
    }
    ProjectBytes keys;
    keys.magic().u32(0x86869005).u32(1).text("N").u32(1).text("N.P").text("N").f32(0.0f).f32(1.0f);
    keys.u32(0xFFFFFFFF).f32(5.0f).f32(0.0f).u32(1);
    ProjectReadResult read = readProjectDocument(keys.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Truncated);
    EXPECT_EQ(std::get<TracksSection>(read.document.sections[0])[0].tracks[0].keys.size(), 1u);

    ProjectBytes badType;
    badType.magic().u32(0x86869004).u32(2).text("N").u32(2).text("A").u32(2).f32(1.5f).text("B").u32(9).f32(2.0f);
    badType.text("M").u32(0);
    read = readProjectDocument(badType.bytes);
    EXPECT_EQ(read.status, ProjectReadStatus::Damaged);
    EXPECT_NE(read.problem.find("unknown type code 9"), std::string::npos) << read.problem;
    const auto& kept = std::get<ParametersSection>(read.document.sections[0])[0].parameters;
    ASSERT_EQ(kept.size(), 1u);
    EXPECT_EQ(kept[0].floats[0], 1.5f);
}

TEST(ProjectFileTest, TextsAreKeptToTheir4095FirstBytesAndNeverWrittenLonger) {
    std::string longName(5000, 'x');
    longName[4094] = 'y';
    ProjectBytes b;
    b.magic().u32(0x86869001).u32(2).text(longName).u32(7).text("next").u32(8);
    platform::DebugCapture capture;
    ProjectReadResult read = readProjectDocument(b.bytes);
    const auto& counters = std::get<CountersSection>(read.document.sections[0]);
    ASSERT_EQ(counters.size(), 2u);
    EXPECT_EQ(counters[0].key, std::string(4094, 'x') + "y");
    EXPECT_EQ(counters[1].key, "next");  // the read goes on after it
    EXPECT_EQ(capture.text(), "project text at byte 12 is 5000 bytes long; kept the first 4095\n");

    // What another reader could not read back is cut or left out, with a line.
    ProjectDocument document;
    document.sections.emplace_back(CountersSection{{std::string("ab\0cd", 5), 1}, {std::string(5000, 'z'), 2}});
    document.sections.emplace_back(ParametersSection{{"N", {stored("Bad", 12), stored("Good", 1)}}});
    read = readProjectDocument(writeProjectDocument(document));
    ASSERT_EQ(read.status, ProjectReadStatus::Complete);
    const auto& written = std::get<CountersSection>(read.document.sections[0]);
    EXPECT_EQ(written[0].key, "ab");
    EXPECT_EQ(written[1].key, std::string(4095, 'z'));
    const auto& parameters = std::get<ParametersSection>(read.document.sections[1])[0].parameters;
    ASSERT_EQ(parameters.size(), 1u);
    EXPECT_EQ(parameters[0].name, "Good");
    EXPECT_TRUE(capture.contains("cut to 2 bytes"));
    EXPECT_TRUE(capture.contains("cut to 4095 bytes"));
    EXPECT_TRUE(capture.contains("\"Bad\""));
}

TEST(ProjectFileTest, OnlyTextsInsideTheDirectoryBecomeRelative) {
    struct Case {
        const char *text, *directory, *expected;
    };
    const Case cases[] = {
        {"/work/demo\\rsrc\\track.mp3", "/work/demo", ".\\rsrc\\track.mp3"},
        {"/work/demo/images/a.png", "/work/demo", "./images/a.png"},
        {"/work/demo", "/work/demo", "."},
        {"/work/demo/x", "/work/demo/", "./x"},
        {"/rsrc/track.mp3", "/", "./rsrc/track.mp3"},
        {"/work/demo2/a.png", "/work/demo", "/work/demo2/a.png"},  // a longer name is not inside
        {"/elsewhere/work/demo/a.png", "/work/demo", "/elsewhere/work/demo/a.png"},
        {"/WORK/demo/a.png", "/work/demo", "/WORK/demo/a.png"},
        {"rsrc", "/", "rsrc"},
        {"", "/work/demo", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(relativeToDirectory(c.text, c.directory), c.expected) << c.text;
}

// Glow 1 feeds input 1 of Glow 2; a node of a type without a class; a value of
// every kind; keys on a float, a colour and a float3 component; a sync link.
// Left at t = 2.
void buildScene(test::EngineScene& s) {
    Engine& engine = s.engine;
    engine.createNode("Glow 1", "TestImage");
    engine.createNode("Glow 2", "TestImage");
    engine.createNode("Dots 1", "Random Dots");
    engine.connect("Glow 1", "Glow 2", 1);
    engine.typeCounters["TestImage"] = 2;
    test::TestImageNode& glow = s.image("Glow 1");
    glow.file = platform::currentDirectory() + "/images/a.png";  // saved relative
    s.image("Glow 2").file = "\xE9t\xE9.png";
    glow.mode = 2;
    glow.enabled = false;
    glow.offset[0] = -0.5f;
    engine.time = 0.0f;
    glow.amount = 2.0f;
    engine.addKeyframe("Glow 1", "Amount");
    engine.addKeyframe("Glow 1", "Scale.X");
    engine.ensureTracks("Glow 1", "Color");
    s.track("Glow 1", "Glow 1.Color.a")->keys = {{0.6f, 0.0f, Linear}, {1.0f, 4.0f, CubicIn}};
    engine.time = 4.0f;
    glow.amount = 6.0f;
    engine.addKeyframe("Glow 1", "Amount");
    engine.linkSyncTrack("Glow 1", "glow#Amount", "Amount");
    engine.time = 2.0f;
    engine.evaluateKeyframes();  // amount 4 at t = 2
}

TEST(ProjectFileTest, ASavedSceneLoadsBackAtTimeZeroAndMergesTwiceUnderPrefixes) {
    test::TempDir dir;
    test::EngineScene saved;
    buildScene(saved);
    ASSERT_TRUE(saved.engine.saveProject(dir.file("demo.vorn")));
    EXPECT_FLOAT_EQ(saved.engine.time, 2.0f);  // restored after saving
    EXPECT_EQ(saved.image("Glow 1").file, platform::currentDirectory() + "/images/a.png");
    test::EngineScene loaded;
    ASSERT_TRUE(loaded.engine.loadProject(dir.file("demo.vorn"), true, ""));
    EXPECT_EQ(loaded.engine.time, 0.0f);
    EXPECT_EQ(test::callLog().drawingEnabled, (std::vector<int32_t>{0, 0}));  // each node processed once
    EXPECT_EQ(loaded.engine.nodeTypes.at("Dots 1"), "Random Dots");            // kept for the next save
    EXPECT_EQ(loaded.engine.typeCounters, saved.engine.typeCounters);
    EXPECT_EQ(loaded.node("Glow 2")->inputs[1], loaded.node("Glow 1"));
    EXPECT_EQ(loaded.node("Glow 1")->outputs, (std::vector<Node*>{loaded.node("Glow 2")}));
    test::TestImageNode& glow = loaded.image("Glow 1");
    EXPECT_FLOAT_EQ(glow.amount, 2.0f);  // the key at time 0, not the value at 2
    EXPECT_EQ(glow.file, "./images/a.png");
    EXPECT_EQ(loaded.image("Glow 2").file, "\xE9t\xE9.png");
    EXPECT_EQ(glow.mode, 2);
    EXPECT_FALSE(glow.enabled);
    EXPECT_FLOAT_EQ(glow.offset[0], -0.5f);
    EXPECT_FLOAT_EQ(glow.color[3], 0.6f);
    EXPECT_EQ(loaded.trackNames("Glow 1"), (std::set<std::string>{"Glow 1.Amount", "Glow 1.Color.r", "Glow 1.Color.g",
                                                                  "Glow 1.Color.b", "Glow 1.Color.a", "Glow 1.Scale.X"}));
    EXPECT_EQ(loaded.track("Glow 1", "Glow 1.Amount")->target, &glow.amount);
    EXPECT_EQ(loaded.track("Glow 1", "Glow 1.Color.a")->target, &glow.color[3]);
    EXPECT_EQ(loaded.track("Glow 1", "Glow 1.Color.a")->keys[1].interpolation, CubicIn);
    EXPECT_EQ(loaded.track("Glow 1", "Glow 1.Scale.X")->target, &glow.scale[0]);
    EXPECT_TRUE(loaded.engine.isSyncLinked("Glow 1", "Amount"));
    loaded.engine.update(0.0f);
    EXPECT_EQ(loaded.audio.created.back(), ".\\rsrc\\track.mp3");  // the stored music is played
    test::EngineScene merged{"Glow 1"};  // an unrelated node already there
    ASSERT_TRUE(merged.engine.loadProject(dir.file("demo.vorn"), false, "A"));
    ASSERT_TRUE(merged.engine.loadProject(dir.file("demo.vorn"), false, "B"));
    EXPECT_EQ(merged.engine.nodesByName.size(), 5u);
    for (const std::string prefix : {"A", "B"}) {
        EXPECT_EQ(merged.engine.typeCounters.at(prefix + "TestImage"), 2u);
        EXPECT_EQ(merged.engine.nodeTypes.at(prefix + "Dots 1"), "Random Dots");
        EXPECT_EQ(merged.track(prefix + "Glow 1", prefix + "Glow 1.Color.a")->target,
                  &merged.image(prefix + "Glow 1").color[3]);
        EXPECT_TRUE(merged.engine.isSyncLinked(prefix + "Glow 1", "Amount"));
    }
    EXPECT_TRUE(merged.trackNames("Glow 1").empty());
    EXPECT_TRUE(merged.node("Glow 1")->outputs.empty());
    EXPECT_EQ(merged.engine.syncLinks[0].trackName, "glow#Amount");  // track names are used as read

    // Refused: no magic (checked before the question), no file, the question
    // answered no, an unwritable save; then a file cut inside its last section.
    std::string text = dir.write("notes.vorn", "hello, this is text");
    std::vector<uint8_t> bytes = test::readBytes(dir.file("demo.vorn"));
    bytes.resize(bytes.size() - 3);
    std::string cut = dir.write("cut.vorn", bytes);
    std::vector<std::string> questions;
    bool answer = false;
    saved.engine.confirm = [&](const std::string& question, const std::string& caption) {
        questions.push_back(question + "|" + caption);
        return answer;
    };
    platform::DebugCapture capture;
    EXPECT_FALSE(saved.engine.loadProject(text, true, ""));
    EXPECT_FALSE(saved.engine.loadProject("/nonexistent/demo.vorn", true, ""));
    EXPECT_TRUE(questions.empty());
    EXPECT_FALSE(saved.engine.loadProject(dir.file("demo.vorn"), true, ""));
    EXPECT_EQ(questions, (std::vector<std::string>{"Load and clear scene?|VORN"}));
    EXPECT_FALSE(saved.engine.saveProject("/nonexistent/dir/demo.vorn"));
    EXPECT_FLOAT_EQ(saved.engine.time, 2.0f);
    EXPECT_FLOAT_EQ(saved.image("Glow 1").amount, 4.0f);
    EXPECT_TRUE(capture.contains("cannot load " + text + ": not a project file (no project magic at its start)"));
    EXPECT_TRUE(capture.contains("cannot open project /nonexistent/demo.vorn"));
    EXPECT_TRUE(capture.contains("cannot write project /nonexistent/dir/demo.vorn"));
    answer = true;
    EXPECT_FALSE(saved.engine.loadProject(cut, true, ""));
    EXPECT_TRUE(capture.contains("project " + cut + " is damaged (truncated inside the links section"));
    EXPECT_FLOAT_EQ(saved.image("Glow 1").amount, 2.0f);
    EXPECT_EQ(saved.trackNames("Glow 1").size(), 6u);
    EXPECT_TRUE(saved.engine.syncLinks.empty());
}

TEST(ProjectFileTest, StoredValuesOfAnotherTypeOrOwnerAreDropped) {
    ProjectBytes b;
    b.magic().u32(0x86869002).u32(1).text("N").text("TestImage");
    b.u32(0x86869004).u32(1).text("N").u32(3);
    b.text("Amount").u32(1).u32(7);  // the node's Amount is a float
    b.text("Offset").u32(3).f32(0.125f).f32(0.25f);
    b.text("Mode").u32(1).u32(0);
    b.u32(0x86869005).u32(1).text("N").u32(4);
    b.text("N.Offset.z").text("N").f32(0.0f).f32(1.0f).u32(1).f32(0.75f).f32(0.0f).u32(1);  // a vec2's second
    b.text("N.Color.w").text("N").f32(0.0f).f32(1.0f).u32(1).f32(0.5f).f32(0.0f).u32(1);
    b.text("N.Mode").text("N").f32(0.0f).f32(1.0f).u32(0);
    b.text("N.Missing").text("N").f32(0.0f).f32(1.0f).u32(0);
    b.u32(0x86869006).u32(2).text("N").text("t").text("Amount").text("Nobody").text("u").text("Amount");
    test::EngineScene s;
    ASSERT_TRUE(s.engine.loadProjectBytes(b.bytes, "test", true, ""));
    test::TestImageNode& node = s.image("N");
    EXPECT_FLOAT_EQ(node.amount, 1.0f);  // the default stands
    EXPECT_FLOAT_EQ(node.offset[1], 0.25f);
    EXPECT_EQ(node.mode, 0);
    EXPECT_EQ(s.trackNames("N"), (std::set<std::string>{"N.Offset.z", "N.Color.w"}));
    EXPECT_EQ(s.track("N", "N.Offset.z")->target, &node.offset[1]);
    EXPECT_EQ(s.track("N", "N.Color.w")->target, &node.color[3]);
    EXPECT_EQ(s.engine.syncLinks.size(), 1u);
}

}  // namespace
}  // namespace vorn::engine
