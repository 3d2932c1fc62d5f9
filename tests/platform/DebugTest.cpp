#include "platform/Debug.h"

#include <gtest/gtest.h>

namespace vorn::platform {
namespace {

TEST(DebugOutput, PassesTextThroughUnchanged) {
    DebugCapture capture;
    debugOutput("Unable to create frame buffer\n");
    debugOutput("part one, ");
    debugOutput("part two\n");
    EXPECT_EQ(capture.text(), "Unable to create frame buffer\npart one, part two\n");
}

TEST(DebugOutput, DebugLineFoldsLineBreaksIntoOneLine) {
    DebugCapture capture;
    debugLine("Fragment Shader::0:3(1): error\r\n0:4(2): error\n");
    EXPECT_EQ(capture.text(), "Fragment Shader::0:3(1): error  0:4(2): error\n");
    capture.clear();
    debugLine("name\twith\x1b[2Jescapes");  // a hostile name must not drive the terminal
    EXPECT_EQ(capture.text(), "name with [2Jescapes\n");
}

TEST(DebugOutput, LongNamesLoseTheirMiddle) {
    struct Case {
        std::string text;
        std::size_t maxChars;
        std::string shown;
    } cases[] = {
        {"abcdefghij", 10, "abcdefghij"},
        {"abcdefghijk", 10, "abcd...ijk"},
        // Five two-byte letters in 8 bytes: the cut moves off the middle of a letter.
        {"\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 8, "\xc3\xa9...\xc3\xa9"},
    };
    for (const Case& c : cases) EXPECT_EQ(shortenMiddle(c.text, c.maxChars), c.shown) << c.text;
}

}  // namespace
}  // namespace vorn::platform
