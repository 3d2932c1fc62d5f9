// The description-file reader: its word and quoted-text rules, which existing
// description files rely on, and the limits that keep a damaged file harmless.
#include "nodes/image/ShaderDescription.h"

#include "nodes/image/EffectLibrary.h"
#include "platform/Debug.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn::test {
namespace {

using nodes::ShaderDescription;
using nodes::ShaderParam;
using Names = std::vector<std::string>;

// Parses text as a description file on disk, the way the engine reads them,
// and checks that the text reader agrees.
ShaderDescription parseFile(const std::string& text) {
    TempDir folder;
    ShaderDescription description, fromText;
    EXPECT_TRUE(nodes::ParseShaderDescription(folder.write("effect.node", text), description));
    nodes::parseShaderDescriptionText(text, fromText);
    EXPECT_EQ(fromText.name, description.name);
    EXPECT_EQ(fromText.parameters.size(), description.parameters.size());
    EXPECT_EQ(fromText.source, description.source);
    return description;
}

TEST(ShaderDescription, ReadsAWholeDescriptionWithEveryParameterKind) {
    const std::string fragment = "#version 330 core\nuniform sampler2D Source;\nvoid main() {}\n";
    ShaderDescription d = parseFile(
        "Name \"Brighten\" \"Second\"\n"
        "Input 0, \"Source\" \"rgba\"\n"
        "Param 0, \"Gain\" float, 0.0, 4.0, 1.0\n"
        "Param 1, \"Wrap\" floatEvolution, 0.0, 1.0, 0.25\n"
        "Param 2, \"Count\" int, 0, 10, 2.9\n"
        "Param 3, \"Mode\" option, 3 \"a\" \"b\" \"c\" 1\n"
        "Param 4, \"Dir\" direction, 0.5, -1\n"
        "Param 5, \"Pos\" position, 0.25 0.75\n"
        "Param 6, \"Tint\" color, 0.1, 0.2, 0.3, 0.4\n"
        "Param 7, \"Track\" rocket, -3.5\n"
        "Source\n" + fragment + "Name \"Other\" \"x\"\n");
    EXPECT_EQ(d.name, "Brighten");
    EXPECT_EQ(d.secondName, "Second");
    EXPECT_EQ(d.inputNames, Names{"Source"});
    // Everything after the word, the line break before the text and later keywords included.
    EXPECT_EQ(d.source, "\n" + fragment + "Name \"Other\" \"x\"\n");
    ASSERT_EQ(d.parameters.size(), 8u);
    const auto& p = d.parameters;
    const int32_t kinds[] = {ShaderParam::Float,     ShaderParam::Float,    ShaderParam::IntFloat,
                             ShaderParam::Choice,    ShaderParam::Direction, ShaderParam::Position,
                             ShaderParam::Colour,    ShaderParam::SyncTrack};
    for (std::size_t i = 0; i < 8; ++i) EXPECT_EQ(p[i].kind, kinds[i]) << p[i].name;
    EXPECT_EQ(p[0].clamp, 1);
    EXPECT_EQ(p[1].clamp, 0);
    EXPECT_FLOAT_EQ(p[0].maximum, 4.0f);
    EXPECT_FLOAT_EQ(p[1].defaultValue, 0.25f);
    EXPECT_FLOAT_EQ(p[2].defaultValue, 2.9f);  // a float here; truncated only as a uniform
    EXPECT_EQ(p[3].choices, (Names{"a", "b", "c"}));
    EXPECT_EQ(p[3].choice, 1);
    EXPECT_FLOAT_EQ(p[4].direction[1], -1.0f);
    EXPECT_FLOAT_EQ(p[5].position[1], 0.75f);
    EXPECT_FLOAT_EQ(p[6].colour[3], 0.4f);
    EXPECT_FLOAT_EQ(p[7].defaultValue, -3.5f);
}

TEST(ShaderDescription, QuotedTextsAndWordsFollowTheirOwnRules) {
    struct Case {
        std::string text, name, secondName;
    };
    const Case cases[] = {
        {"Name\n\"Brighten\" \"B\"", "", "Brighten"},  // a line break is no blank: consumed as a non-quote
        {"Name\t\"A\" \"B\"", "", "A"},
        {"Name \"A\"X \"B\"", "A", "B"},  // one character after the closing quote goes with it
        {"Name \"A\"XY \"B\"", "A", ""},
        {"Name     \"\" \"Second\"", "", "Second"},
        {"Name \"Open name", "Open name", ""},  // runs to the end of the file
        {"Name \"" + std::string(300, 'n') + "\" \"second\" Type x", std::string(255, 'n'), "second"},
        {"Type Name\nname \"x\" \"y\" Name \"Real\" \"R\"", "Real", "R"},  // Type takes one word; unknown words skipped
    };
    for (const Case& c : cases) {
        ShaderDescription d = parseFile(c.text);
        EXPECT_EQ(d.name, c.name) << c.text;
        EXPECT_EQ(d.secondName, c.secondName) << c.text;
    }
    // A word is at most 255 characters: the rest is read as the next word.
    EXPECT_EQ(parseFile(std::string(255, 'w') + "Source body").source, " body");
    EXPECT_EQ(parseFile(std::string("Source\r\n\0tail", 13)).source, std::string("\r\n\0tail", 7));
}

TEST(ShaderDescription, IndicesCountsAndTypeWordsAreReadLikeTheirNumbersAndNames) {
    ShaderDescription d = parseFile(
        "Param 3, \"Late\" float, 0.0, 1.0, 0.5\n"
        "Param 2.7, \"X\" option, 2.9 \"a\" \"b\" 1.99\n"  // like atoi
        "Param 0, \"G\" float, 0.5,, 2.0, 1.5,\n"         // one trailing comma dropped from every word
        "Param 0, \"B\" vector 5\n"                      // unknown type word: renamed, kind and values kept
        "Input 1, \"Mask\" \"geometry\"\n"
        "Input 0, \"Source\" \"rgba\"\n"
        "Input 3, \"Depth\" \"normaldepth\"\n");
    ASSERT_EQ(d.parameters.size(), 4u);
    EXPECT_EQ(d.parameters[0].name, "B");
    EXPECT_EQ(d.parameters[0].kind, ShaderParam::Float);
    EXPECT_FLOAT_EQ(d.parameters[0].minimum, 0.5f);
    EXPECT_FLOAT_EQ(d.parameters[0].maximum, 2.0f);
    EXPECT_EQ(d.parameters[1].kind, ShaderParam::None);  // a gap
    EXPECT_EQ(d.parameters[2].choices, (Names{"a", "b"}));
    EXPECT_EQ(d.parameters[2].choice, 1);
    EXPECT_EQ(d.parameters[3].name, "Late");
    // Names go by index, types are appended in file order; input 0 takes the first line's type.
    EXPECT_EQ(d.inputNames, (Names{"Source", "Mask", "", "Depth"}));
    EXPECT_EQ(d.inputTypes, (std::vector<int32_t>{1, 0, 2}));
    const std::pair<const char*, int> slots[] = {{"rgba", 0}, {"geometry", 1}, {"normaldepth", 2},
                                                 {"property", 3}, {"Geometry", 0}, {"", 0}};
    for (auto [word, slot] : slots) EXPECT_EQ(nodes::inputTypeSlot(word), slot) << word;
}

TEST(ShaderDescription, ADamagedFileIsCutToItsLimitsWithADiagnostic) {
    platform::DebugCapture capture;
    ShaderDescription d = parseFile(
        "Param -1, \"Neg\" float, 0 1 0.5\n"
        "Param 100000, \"Huge\" color, 1 1 1 1\n"
        "Input 99, \"Far\" \"rgba\"\n"
        "Param 0, \"Mode\" option, 2000000000 \"a\" \"b\"");
    ASSERT_EQ(d.parameters.size(), 1u);
    EXPECT_EQ(d.parameters[0].choices, (Names{"a", "b"}));  // the count stops at the end of the file
    EXPECT_TRUE(d.inputNames.empty());
    EXPECT_TRUE(capture.contains("parameter index -1"));
    EXPECT_TRUE(capture.contains("parameter index 100000"));
    EXPECT_TRUE(capture.contains("input index 99"));

    capture.clear();
    std::string body(30000, 'x');
    EXPECT_EQ(parseFile("Source " + body).source, " " + body.substr(0, ShaderDescription::kSourceCapacity - 2));
    EXPECT_TRUE(capture.contains("truncated"));
    capture.clear();
    std::string fits(ShaderDescription::kSourceCapacity - 2, 'y');
    EXPECT_EQ(parseFile("Source " + fits).source.size(), ShaderDescription::kSourceCapacity - 1);
    EXPECT_FALSE(capture.contains("truncated"));
}

TEST(ShaderDescription, SourceLibCopiesTheLibraryEntryOrFlagsAnUnknownName) {
    nodes::registerEffectLibrary();
    ShaderDescription known = parseFile("SourceLib, LumaToAlpha,\n");
    EXPECT_EQ(known.source, *nodes::effectLibrarySource("LumaToAlpha"));
    EXPECT_FALSE(known.sourceMissing);

    platform::DebugCapture capture;
    ShaderDescription unknown = parseFile("SourceLib DirectionalBlur\nSourceLib directionalblur\n");
    EXPECT_EQ(unknown.source, "");
    EXPECT_TRUE(unknown.sourceMissing);
    EXPECT_TRUE(capture.contains("no library source named \"directionalblur\""));
    ShaderDescription mended = parseFile("SourceLib Nothing\nSourceLib ColorCorrect\n");  // a later source replaces it
    EXPECT_FALSE(mended.sourceMissing);
    EXPECT_EQ(mended.source, *nodes::effectLibrarySource("ColorCorrect"));
}

TEST(ShaderDescription, AMissingFileIsRefusedAndAnEmptyOneGivesAnEmptyType) {
    TempDir folder;
    ShaderDescription d;
    d.name = "stale";
    EXPECT_FALSE(nodes::ParseShaderDescription(folder.file("absent.node"), d));
    EXPECT_TRUE(nodes::ParseShaderDescription(folder.write("empty.node", ""), d));
    EXPECT_EQ(d.name, "");
    EXPECT_TRUE(d.parameters.empty());
}

}  // namespace
}  // namespace vorn::test
