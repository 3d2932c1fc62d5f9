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

// Parses text as a description file on disk, the way the engine reads them.
ShaderDescription parseFile(const std::string& text) {
    TempDir folder;
    ShaderDescription description;
    EXPECT_TRUE(nodes::ParseShaderDescription(folder.write("effect.node", text), description));
    return description;
}

TEST(ShaderDescription, ReadsTheBrightenExample) {
    const std::string fragment =
        "#version 330 core\n"
        "uniform sampler2D Source;\n"
        "uniform float Gain;\n"
        "in vec2 texcoord_Input[8];\n"
        "out vec4 frag[1];\n"
        "void main() { frag[0] = texture(Source, texcoord_Input[0]) * Gain; }\n";
    ShaderDescription d = parseFile(
        "Name \"Brighten\" \"Brighten\"\n"
        "Input 0, \"Source\" \"rgba\"\n"
        "Param 0, \"Gain\" float, 0.0, 4.0, 1.0\n"
        "Source\n" +
        fragment);
    EXPECT_EQ(d.name, "Brighten");
    EXPECT_EQ(d.secondName, "Brighten");
    EXPECT_EQ(d.inputNames, std::vector<std::string>{"Source"});
    EXPECT_EQ(d.inputTypes, std::vector<int32_t>{0});
    ASSERT_EQ(d.parameters.size(), 1u);
    const ShaderParam& gain = d.parameters[0];
    EXPECT_EQ(gain.kind, ShaderParam::Float);
    EXPECT_EQ(gain.name, "Gain");
    EXPECT_EQ(gain.clamp, 1);
    EXPECT_FLOAT_EQ(gain.minimum, 0.0f);
    EXPECT_FLOAT_EQ(gain.maximum, 4.0f);
    EXPECT_FLOAT_EQ(gain.defaultValue, 1.0f);
    // Everything after the word, the line break that separates it included.
    EXPECT_EQ(d.source, "\n" + fragment);
    EXPECT_FALSE(d.sourceMissing);
}

TEST(ShaderDescription, SourceRunsToTheEndOfTheFileAndEndsTheParse) {
    ShaderDescription d = parseFile("Name \"A\" \"B\" Source void main() {}\nName \"Other\" \"x\"\n");
    EXPECT_EQ(d.source, " void main() {}\nName \"Other\" \"x\"\n");
    EXPECT_EQ(d.name, "A");
    EXPECT_TRUE(parseFile("Source").source.empty());
}

TEST(ShaderDescription, AParamIndexBeyondTheListFillsTheGapWithKindNone) {
    ShaderDescription d = parseFile("Param 3, \"Late\" float, 0.0, 1.0, 0.5\nParam 1, \"Early\" rocket, 7\n");
    ASSERT_EQ(d.parameters.size(), 4u);
    EXPECT_EQ(d.parameters[0].kind, ShaderParam::None);
    EXPECT_EQ(d.parameters[0].name, "");
    EXPECT_EQ(d.parameters[2].kind, ShaderParam::None);
    EXPECT_EQ(d.parameters[1].kind, ShaderParam::SyncTrack);
    EXPECT_FLOAT_EQ(d.parameters[1].defaultValue, 7.0f);
    EXPECT_EQ(d.parameters[3].name, "Late");
    EXPECT_FLOAT_EQ(d.parameters[3].defaultValue, 0.5f);
}

TEST(ShaderDescription, InputNamesGoByIndexButTypesAreAppendedInFileOrder) {
    ShaderDescription d = parseFile(
        "Input 1, \"Mask\" \"geometry\"\n"
        "Input 0, \"Source\" \"rgba\"\n"
        "Input 3, \"Depth\" \"normaldepth\"\n"
        "Input 2, \"Props\" \"property\"\n"
        "Input 4, \"Other\" \"RGBA\"\n");
    EXPECT_EQ(d.inputNames, (std::vector<std::string>{"Source", "Mask", "Props", "Depth", "Other"}));
    // Input 0 takes the type written on the first line.
    EXPECT_EQ(d.inputTypes, (std::vector<int32_t>{1, 0, 2, 3, 0}));

    ShaderDescription gap = parseFile("Input 2, \"C\" \"property\"\n");
    EXPECT_EQ(gap.inputNames, (std::vector<std::string>{"", "", "C"}));
    EXPECT_EQ(gap.inputTypes, std::vector<int32_t>{3});
}

TEST(ShaderDescription, ParameterTypeWordsSetKindAndValues) {
    ShaderDescription d = parseFile(
        "Param 0, \"Wrap\" floatEvolution, 0.0, 1.0, 0.25\n"
        "Param 1, \"Count\" int, 0, 10, 2.9\n"
        "Param 2, \"Mode\" option, 3 \"a\" \"b\" \"c\" 1\n"
        "Param 3, \"Dir\" direction, 0.5, -1\n"
        "Param 4, \"Pos\" position, 0.25 0.75\n"
        "Param 5, \"Tint\" color, 0.1, 0.2, 0.3, 0.4\n"
        "Param 6, \"Track\" rocket, -3.5\n");
    ASSERT_EQ(d.parameters.size(), 7u);
    const auto& p = d.parameters;
    EXPECT_EQ(p[0].kind, ShaderParam::Float);
    EXPECT_EQ(p[0].clamp, 0);
    EXPECT_FLOAT_EQ(p[0].defaultValue, 0.25f);
    EXPECT_EQ(p[1].kind, ShaderParam::IntFloat);
    EXPECT_EQ(p[1].clamp, 1);
    EXPECT_FLOAT_EQ(p[1].maximum, 10.0f);
    EXPECT_FLOAT_EQ(p[1].defaultValue, 2.9f);  // a float here; truncated only as a uniform
    EXPECT_EQ(p[2].kind, ShaderParam::Choice);
    EXPECT_EQ(p[2].choices, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(p[2].choice, 1);
    EXPECT_EQ(p[3].kind, ShaderParam::Direction);
    EXPECT_FLOAT_EQ(p[3].direction[0], 0.5f);
    EXPECT_FLOAT_EQ(p[3].direction[1], -1.0f);
    EXPECT_EQ(p[4].kind, ShaderParam::Position);
    EXPECT_FLOAT_EQ(p[4].position[1], 0.75f);
    EXPECT_EQ(p[5].kind, ShaderParam::Colour);
    EXPECT_FLOAT_EQ(p[5].colour[0], 0.1f);
    EXPECT_FLOAT_EQ(p[5].colour[3], 0.4f);
    EXPECT_EQ(p[6].kind, ShaderParam::SyncTrack);
    EXPECT_FLOAT_EQ(p[6].defaultValue, -3.5f);
}

TEST(ShaderDescription, AnUnknownTypeWordRenamesTheEntryButKeepsItsKindAndReadsNoValues) {
    ShaderDescription d = parseFile(
        "Param 0, \"A\" float, 0 2 1\n"
        "Param 0, \"B\" vector 5\n"
        "Param 1, \"C\" matrix\n");
    ASSERT_EQ(d.parameters.size(), 2u);
    EXPECT_EQ(d.parameters[0].name, "B");
    EXPECT_EQ(d.parameters[0].kind, ShaderParam::Float);
    EXPECT_FLOAT_EQ(d.parameters[0].maximum, 2.0f);
    EXPECT_EQ(d.parameters[1].kind, ShaderParam::None);
    EXPECT_EQ(d.parameters[1].name, "C");
}

TEST(ShaderDescription, OneTrailingCommaIsDroppedFromEveryWordKeysIncluded) {
    ShaderDescription d = parseFile(
        "Param 0, \"G\" float, 0.5,, 2.0, 1.5,\n"
        "SourceLib, LumaToAlpha,\n");
    ASSERT_EQ(d.parameters.size(), 1u);
    EXPECT_FLOAT_EQ(d.parameters[0].minimum, 0.5f);  // "0.5," is still 0.5 to atof
    EXPECT_FLOAT_EQ(d.parameters[0].maximum, 2.0f);
    nodes::registerEffectLibrary();
    EXPECT_EQ(d.source, *nodes::effectLibrarySource("LumaToAlpha"));
}

TEST(ShaderDescription, IndicesAndCountsAreConvertedLikeAtoi) {
    ShaderDescription d = parseFile("Param 2.7, \"X\" option, 2.9 \"a\" \"b\" 1.99\n");
    ASSERT_EQ(d.parameters.size(), 3u);
    EXPECT_EQ(d.parameters[2].choices, (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(d.parameters[2].choice, 1);
}

TEST(ShaderDescription, QuotedTextSkipsOnlyBlanksAndConsumesOneCharacterAfterTheQuote) {
    // A line break is not a blank: it is consumed as a non-quote, giving an empty name.
    ShaderDescription broken = parseFile("Name\n\"Brighten\" \"B\"\n");
    EXPECT_EQ(broken.name, "");
    EXPECT_EQ(broken.secondName, "Brighten");
    ShaderDescription tab = parseFile("Name\t\"A\" \"B\"");
    EXPECT_EQ(tab.name, "");
    EXPECT_EQ(tab.secondName, "A");
    // One character after the closing quote goes with it, whatever it is.
    ShaderDescription glued = parseFile("Name \"A\"X \"B\"");
    EXPECT_EQ(glued.name, "A");
    EXPECT_EQ(glued.secondName, "B");
    ShaderDescription two = parseFile("Name \"A\"XY \"B\"");
    EXPECT_EQ(two.name, "A");
    EXPECT_EQ(two.secondName, "");
    // Several blanks are skipped; an empty quoted text is an empty name.
    ShaderDescription spaced = parseFile("Name     \"\" \"Second\"");
    EXPECT_EQ(spaced.name, "");
    EXPECT_EQ(spaced.secondName, "Second");
}

TEST(ShaderDescription, LongTextsAreCutAt255CharactersAndTheParseStaysInStep) {
    std::string longName(300, 'n');
    ShaderDescription d = parseFile("Name \"" + longName + "\" \"second\" Type x");
    EXPECT_EQ(d.name, std::string(255, 'n'));
    EXPECT_EQ(d.secondName, "second");

    // A word is at most 255 characters: the rest is read as the next word.
    ShaderDescription split = parseFile(std::string(255, 'w') + "Source body");
    EXPECT_EQ(split.source, " body");
}

TEST(ShaderDescription, AnUnterminatedQuoteRunsToTheEndOfTheFile) {
    ShaderDescription d = parseFile("Name \"Open name");
    EXPECT_EQ(d.name, "Open name");
    EXPECT_EQ(d.secondName, "");
}

TEST(ShaderDescription, AnOptionCountBeyondTheFileStopsAtItsEnd) {
    ShaderDescription d = parseFile("Param 0, \"Mode\" option, 2000000000 \"a\" \"b\"");
    ASSERT_EQ(d.parameters.size(), 1u);
    EXPECT_EQ(d.parameters[0].choices, (std::vector<std::string>{"a", "b"}));
}

TEST(ShaderDescription, IndicesOutsideTheLimitsDropTheLineWithADiagnostic) {
    platform::DebugCapture capture;
    ShaderDescription d = parseFile(
        "Param -1, \"Neg\" float, 0 1 0.5\n"
        "Param 100000, \"Huge\" color, 1 1 1 1\n"
        "Input 99, \"Far\" \"rgba\"\n"
        "Param 0, \"Kept\" float, 0 1 0.5\n");
    ASSERT_EQ(d.parameters.size(), 1u);
    EXPECT_EQ(d.parameters[0].name, "Kept");
    EXPECT_TRUE(d.inputNames.empty());
    EXPECT_TRUE(d.inputTypes.empty());
    EXPECT_TRUE(capture.contains("parameter index -1"));
    EXPECT_TRUE(capture.contains("parameter index 100000"));
    EXPECT_TRUE(capture.contains("input index 99"));
}

TEST(ShaderDescription, ALongerSourceIsTruncatedToTheBufferWithADiagnostic) {
    platform::DebugCapture capture;
    std::string body(30000, 'x');
    ShaderDescription d = parseFile("Name \"Big\" \"Big\"\nSource " + body);
    EXPECT_EQ(d.source.size(), ShaderDescription::kSourceCapacity - 1);
    EXPECT_EQ(d.source, " " + body.substr(0, ShaderDescription::kSourceCapacity - 2));
    EXPECT_TRUE(capture.contains("truncated"));

    capture.clear();
    std::string fits(ShaderDescription::kSourceCapacity - 2, 'y');
    EXPECT_EQ(parseFile("Source " + fits).source.size(), ShaderDescription::kSourceCapacity - 1);
    EXPECT_FALSE(capture.contains("truncated"));
}

TEST(ShaderDescription, SourceLibCopiesTheLibraryEntryOrFlagsAnUnknownName) {
    nodes::registerEffectLibrary();
    ShaderDescription known = parseFile("Name \"Blur\" \"Blur\"\nSourceLib DirectionalBlur\n");
    EXPECT_EQ(known.source, *nodes::effectLibrarySource("DirectionalBlur"));
    EXPECT_FALSE(known.sourceMissing);

    platform::DebugCapture capture;
    ShaderDescription unknown = parseFile("SourceLib DirectionalBlur\nSourceLib directionalblur\n");
    EXPECT_EQ(unknown.source, "");
    EXPECT_TRUE(unknown.sourceMissing);
    EXPECT_TRUE(capture.contains("no library source named \"directionalblur\""));

    // A later source replaces the missing one.
    ShaderDescription mended = parseFile("SourceLib Nothing\nSourceLib ColorCorrect\n");
    EXPECT_FALSE(mended.sourceMissing);
    EXPECT_EQ(mended.source, *nodes::effectLibrarySource("ColorCorrect"));
}

TEST(ShaderDescription, TypeReadsOneWordAndUnknownWordsAreSkipped) {
    ShaderDescription d = parseFile("Type Name\nname \"x\" \"y\" Name \"Real\" \"R\"");
    EXPECT_EQ(d.name, "Real");
    EXPECT_EQ(d.secondName, "R");
}

TEST(ShaderDescription, AMissingFileIsRefusedAndAnEmptyOneGivesAnEmptyType) {
    TempDir folder;
    ShaderDescription d;
    d.name = "stale";
    EXPECT_FALSE(nodes::ParseShaderDescription(folder.file("absent.node"), d));
    EXPECT_TRUE(nodes::ParseShaderDescription(folder.write("empty.node", ""), d));
    EXPECT_EQ(d.name, "");
    EXPECT_TRUE(d.parameters.empty());
    EXPECT_TRUE(d.source.empty());
}

TEST(ShaderDescription, TheFileAndTextReadersAgree) {
    const std::string text = std::string("Name \"A\"Z\t\"B\"\nInput 1, \"In\" \"geometry\"\n") +
                             "Param 1, \"M\" option, 2 \"x\"\"y\" 0\nSource\r\n" + std::string("\0tail", 5);
    ShaderDescription fromFile = parseFile(text);
    ShaderDescription fromText;
    nodes::parseShaderDescriptionText(text, fromText);
    EXPECT_EQ(fromText.name, fromFile.name);
    EXPECT_EQ(fromText.secondName, fromFile.secondName);
    EXPECT_EQ(fromText.inputNames, fromFile.inputNames);
    EXPECT_EQ(fromText.parameters.size(), fromFile.parameters.size());
    EXPECT_EQ(fromText.parameters[1].choices, fromFile.parameters[1].choices);
    EXPECT_EQ(fromText.source, fromFile.source);
    EXPECT_EQ(fromFile.source, std::string("\r\n\0tail", 7));
    EXPECT_EQ(fromFile.parameters[1].choices, (std::vector<std::string>{"x", ""}));
}

TEST(ShaderDescription, InputTypeWordsSelectSlots) {
    EXPECT_EQ(nodes::inputTypeSlot("rgba"), 0);
    EXPECT_EQ(nodes::inputTypeSlot("geometry"), 1);
    EXPECT_EQ(nodes::inputTypeSlot("normaldepth"), 2);
    EXPECT_EQ(nodes::inputTypeSlot("property"), 3);
    EXPECT_EQ(nodes::inputTypeSlot("Geometry"), 0);
    EXPECT_EQ(nodes::inputTypeSlot(""), 0);
}

}  // namespace
}  // namespace vorn::test
