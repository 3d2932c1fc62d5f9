// The open-file dialog against a stand-in zenity placed first on PATH, which
// records its arguments and answers as the test tells it. (The message box
// needs a person to answer it and is not tested.)
#include "platform/Dialogs.h"

#include "platform/Paths.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdlib>

namespace vorn::platform {
namespace {

class OpenFileDialog : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("PATH");
        savedPath_ = path ? path : "";
        savedDirectory_ = currentDirectory();
    }
    void TearDown() override {
        ::setenv("PATH", savedPath_.c_str(), 1);
        changeDirectory(savedDirectory_);
    }

    // A zenity that writes its arguments to args.txt, prints `answer` and exits with `status`.
    void installZenity(const std::string& answer, int status) {
        std::string script = "#!/bin/sh\nfor a in \"$@\"; do echo \"$a\"; done > '" + bin.file("args.txt") +
                             "'\nprintf '%s\\n' '" + answer + "'\nexit " + std::to_string(status) + "\n";
        std::string file = bin.write("zenity", script);
        ASSERT_EQ(::chmod(file.c_str(), 0755), 0);
        ::setenv("PATH", (bin.path() + ":" + savedPath_).c_str(), 1);
    }

    std::string recordedArguments() {
        auto bytes = test::readBytes(bin.file("args.txt"));
        return std::string(bytes.begin(), bytes.end());
    }

    test::TempDir bin;
    test::TempDir files;
    std::string savedPath_;
    std::string savedDirectory_;
};

TEST_F(OpenFileDialog, ReturnsTheChosenPathWithBackslashes) {
    std::string chosen = files.write("Some Dir/pick.vorn", "x");
    installZenity(chosen, 0);
    auto result = openFileDialog({.filterName = "Vorn", .pattern = "*.vorn"});
    ASSERT_TRUE(result);
    std::string expected = chosen;
    for (char& c : expected)
        if (c == '/') c = '\\';
    EXPECT_EQ(*result, expected);
    EXPECT_EQ(recordedArguments(), "--file-selection\n--file-filter=Vorn | *.vorn\n");
    EXPECT_EQ(currentDirectory(), savedDirectory_);  // not asked to change it
}

TEST_F(OpenFileDialog, CanMakeTheChosenFoldersTheWorkingDirectory) {
    std::string chosen = files.write("Project/demo.vorn", "x");
    installZenity(chosen, 0);
    ASSERT_TRUE(openFileDialog({.filterName = "Vorn", .pattern = "*.vorn", .changeDirectory = true}));
    EXPECT_EQ(resolvePath(currentDirectory()), resolvePath(files.path() + "/Project"));
    EXPECT_TRUE(fileExists("demo.vorn"));
}

TEST_F(OpenFileDialog, AllFilesMeansEveryNameAndACancelOrNoZenityGivesNothing) {
    installZenity(files.write("README", "x"), 0);
    ASSERT_TRUE(openFileDialog({}));
    EXPECT_EQ(recordedArguments(), "--file-selection\n--file-filter=All | *\n");
    installZenity("", 1);
    EXPECT_FALSE(openFileDialog({}));
    ::setenv("PATH", files.path().c_str(), 1);  // nothing there to run
    EXPECT_FALSE(openFileDialog({}));
}

}  // namespace
}  // namespace vorn::platform
