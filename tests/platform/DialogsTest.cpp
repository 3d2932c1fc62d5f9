// The open-file dialog against a stand-in zenity first on PATH that records its arguments
// and answers as told. (The message box needs a person to answer it and is not tested.)
#include "platform/Dialogs.h"

#include "platform/Paths.h"
#include "tests/support/TempDir.h"
#include "tests/support/WorkingDirectory.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

namespace vorn::platform {
namespace {

TEST(OpenFileDialog, ReturnsTheChosenPathWithBackslashesEntersItsFolderWhenAskedAndNothingOnCancel) {
    test::WorkingDirectory here;
    test::TempDir bin;
    const std::string savedPath = std::getenv("PATH");
    auto answerWith = [&](const std::string& answer, int status) {
        std::string script = "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" + bin.file("args.txt") +
                             "'\nprintf '%s\\n' '" + answer + "'\nexit " + std::to_string(status) + "\n";
        ASSERT_EQ(::chmod(bin.write("zenity", script).c_str(), 0755), 0);
        ::setenv("PATH", (bin.path() + ":" + savedPath).c_str(), 1);
    };
    auto arguments = [&] {
        auto bytes = test::readBytes(bin.file("args.txt"));
        return std::string(bytes.begin(), bytes.end());
    };

    std::string chosen = bin.write("Some Dir/pick.vorn", "x");
    answerWith(chosen, 0);
    std::string backslashed = chosen;
    std::replace(backslashed.begin(), backslashed.end(), '/', '\\');
    EXPECT_EQ(openFileDialog({.filterName = "Vorn", .pattern = "*.vorn"}), backslashed);
    EXPECT_EQ(arguments(), "--file-selection\n--file-filter=Vorn | *.vorn\n");
    EXPECT_EQ(resolvePath(currentDirectory()), resolvePath(here.folder().path()));
    EXPECT_TRUE(openFileDialog({.changeDirectory = true}));
    EXPECT_EQ(arguments(), "--file-selection\n--file-filter=All | *\n");  // "*.*" lists every name
    EXPECT_EQ(resolvePath(currentDirectory()), resolvePath(bin.path() + "/Some Dir"));

    answerWith("", 1);
    EXPECT_FALSE(openFileDialog({}));
    ::setenv("PATH", here.folder().path().c_str(), 1);  // no zenity to run
    EXPECT_FALSE(openFileDialog({}));
    ::setenv("PATH", savedPath.c_str(), 1);
}

}  // namespace
}  // namespace vorn::platform
