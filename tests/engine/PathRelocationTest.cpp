#include "engine/PathRelocation.h"

#include <gtest/gtest.h>

namespace vorn::engine {
namespace {

TEST(PathRelocationTest, TextsInsideTheDirectoryBecomeRelative) {
    EXPECT_EQ(relativeToDirectory("/work/demo\\rsrc\\track.mp3", "/work/demo"), ".\\rsrc\\track.mp3");
    EXPECT_EQ(relativeToDirectory("/work/demo/images/a.png", "/work/demo"), "./images/a.png");
    EXPECT_EQ(relativeToDirectory("/work/demo", "/work/demo"), ".");
    EXPECT_EQ(relativeToDirectory("/work/demo/x", "/work/demo/"), "./x");
}

TEST(PathRelocationTest, OtherTextsStayAsTheyAre) {
    EXPECT_EQ(relativeToDirectory("/work/demo2/a.png", "/work/demo"), "/work/demo2/a.png");
    EXPECT_EQ(relativeToDirectory("/elsewhere/work/demo/a.png", "/work/demo"), "/elsewhere/work/demo/a.png");
    EXPECT_EQ(relativeToDirectory("/WORK/demo/a.png", "/work/demo"), "/WORK/demo/a.png");
    EXPECT_EQ(relativeToDirectory("Glow 1", "/work/demo"), "Glow 1");
    EXPECT_EQ(relativeToDirectory("", "/work/demo"), "");
}

TEST(PathRelocationTest, FromTheRootEveryAbsolutePathIsInside) {
    EXPECT_EQ(relativeToDirectory("/rsrc/track.mp3", "/"), "./rsrc/track.mp3");
    EXPECT_EQ(relativeToDirectory("rsrc", "/"), "rsrc");
}

}  // namespace
}  // namespace vorn::engine
