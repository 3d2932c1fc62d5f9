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
}

}  // namespace
}  // namespace vorn::platform
