#include "platform/Debug.h"

#include <gtest/gtest.h>

namespace vorn::platform {
namespace {

TEST(DebugLine, EveryControlCharacterFoldsIntoASpaceAndLongNamesLoseTheirMiddleButNoLetter) {
    DebugCapture capture;
    debugLine("Fragment Shader::0:3(1): error\r\n0:4(2): error\n");
    debugLine("name\twith\x1b[2Jescapes");  // a hostile name must not drive the terminal
    EXPECT_EQ(capture.text(), "Fragment Shader::0:3(1): error  0:4(2): error\nname with [2Jescapes\n");

    EXPECT_EQ(shortenMiddle("abcdefghij", 10), "abcdefghij");
    EXPECT_EQ(shortenMiddle("abcdefghijk", 10), "abcd...ijk");
    // Five two-byte letters in 8 bytes: the cut moves off the middle of a letter.
    EXPECT_EQ(shortenMiddle("\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9\xc3\xa9", 8), "\xc3\xa9...\xc3\xa9");
}

}  // namespace
}  // namespace vorn::platform
