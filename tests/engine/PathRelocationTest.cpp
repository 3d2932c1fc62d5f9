#include "engine/PathRelocation.h"

#include <gtest/gtest.h>

namespace vorn::engine {
namespace {

TEST(PathRelocationTest, OnlyTextsInsideTheDirectoryBecomeRelative) {
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
        {"Glow 1", "/work/demo", "Glow 1"},
        {"rsrc", "/", "rsrc"},
        {"", "/work/demo", ""},
    };
    for (const Case& c : cases) EXPECT_EQ(relativeToDirectory(c.text, c.directory), c.expected) << c.text;
}

}  // namespace
}  // namespace vorn::engine
