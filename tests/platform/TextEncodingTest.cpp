#include "platform/TextEncoding.h"

#include <gtest/gtest.h>

namespace vorn::platform {
namespace {

TEST(TextEncoding, Latin1BytesBecomeTheirCodePointsInUtf8) {
    EXPECT_EQ(latin1ToUtf8("plain ASCII"), "plain ASCII");
    EXPECT_EQ(latin1ToUtf8("\xE9t\xE9"), "\xC3\xA9t\xC3\xA9");  // U+00E9
    EXPECT_EQ(latin1ToUtf8("\x80"), "\xC2\x80");
    EXPECT_EQ(latin1ToUtf8("\xFF"), "\xC3\xBF");
}

}  // namespace
}  // namespace vorn::platform
