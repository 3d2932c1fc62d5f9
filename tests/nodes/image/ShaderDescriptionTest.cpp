// The description reader's rules, which existing files rely on, and its limits
// on damage. Each kind arriving as its uniform: the shader node's test.
#include "nodes/image/ShaderDescription.h"

#include "nodes/image/EffectLibrary.h"
#include "platform/Debug.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace vorn::test {
namespace {

using nodes::ShaderDescription;
using Names = std::vector<std::string>;

ShaderDescription parse(std::string_view text) {
    ShaderDescription description;
    nodes::parseShaderDescriptionText(text, description);
    return description;
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
        ShaderDescription d = parse(c.text);
        EXPECT_EQ(d.name, c.name) << c.text;
        EXPECT_EQ(d.secondName, c.secondName) << c.text;
    }
    // The source is everything after its word, later keywords included; a word is at most 255 characters.
    EXPECT_EQ(parse("Source\nvoid main() {}\nName \"Other\" \"x\"\n").source, "\nvoid main() {}\nName \"Other\" \"x\"\n");
    EXPECT_EQ(parse(std::string(255, 'w') + "Source body").source, " body");
    EXPECT_EQ(parse(std::string_view("Source\r\n\0tail", 13)).source, std::string("\r\n\0tail", 7));
    // Library names are case-sensitive, and a later source replaces a missing one.
    nodes::registerEffectLibrary();
    EXPECT_TRUE(parse("SourceLib, directionalblur,\n").sourceMissing);
    ShaderDescription mended = parse("SourceLib Nothing\nSourceLib, DirectionalBlur,\n");
    EXPECT_FALSE(mended.sourceMissing);
    EXPECT_EQ(mended.source, *nodes::effectLibrarySource("DirectionalBlur"));
}

// Gaps, sparse indices and the order of input types are shown by the shader node's tests.
TEST(ShaderDescription, IndicesCountsAndTypeWordsAreReadLikeTheirNumbersAndNames) {
    ShaderDescription d = parse(
        "Param 2.7, \"X\" option, 2.9 \"a\" \"b\" 1.99\n"  // like atoi
        "Param 0, \"G\" float, 0.5,, 2.0, 1.5,\n"         // one trailing comma dropped from every word
        "Param 0, \"B\" vector 5\n");                   // unknown type word: renamed, kind and values kept
    ASSERT_EQ(d.parameters.size(), 3u);
    EXPECT_EQ(d.parameters[0].name, "B");
    EXPECT_EQ(d.parameters[0].kind, nodes::ShaderParam::Float);
    EXPECT_FLOAT_EQ(d.parameters[0].minimum, 0.5f);
    EXPECT_FLOAT_EQ(d.parameters[0].maximum, 2.0f);
    EXPECT_EQ(d.parameters[2].choices, (Names{"a", "b"}));
    EXPECT_EQ(d.parameters[2].choice, 1);
    const std::pair<const char*, int> slots[] = {{"property", 3}, {"Geometry", 0}, {"", 0}};
    for (auto [word, slot] : slots) EXPECT_EQ(nodes::inputTypeSlot(word), slot) << word;
}

TEST(ShaderDescription, ADamagedFileIsCutToItsLimitsWithADiagnostic) {
    platform::DebugCapture capture;
    ShaderDescription d = parse(
        "Param -1, \"Neg\" float, 0 1 0.5\n"
        "Param 100000, \"Huge\" color, 1 1 1 1\n"
        "Input 99, \"Far\" \"rgba\" Input -1, \"Near\" \"rgba\"\n"
        "Param 0, \"Mode\" option, 2000000000 \"a\" \"b\"");
    ASSERT_EQ(d.parameters.size(), 1u);
    EXPECT_EQ(d.parameters[0].choices, (Names{"a", "b"}));  // the count stops at the end of the file
    EXPECT_TRUE(d.inputNames.empty());
    for (const char* line : {"parameter index -1", "parameter index 100000", "input index 99", "input index -1"})
        EXPECT_TRUE(capture.contains(line)) << line;
    const std::size_t kept = ShaderDescription::kSourceCapacity - 1;  // with the blank after the word
    for (std::size_t body : {kept - 1, kept + 10000}) {
        capture.clear();
        EXPECT_EQ(parse("Source " + std::string(body, 'x')).source, " " + std::string(std::min(body, kept - 1), 'x'));
        EXPECT_EQ(capture.contains("truncated"), body >= kept) << body;
    }
}

}  // namespace
}  // namespace vorn::test
