// The player's and the editor's command lines and their exit codes.
#include "tests/support/BuildFolders.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

namespace vorn::test {
namespace {

struct Outcome {
    int exitCode = -1;
    std::string output;  // stdout and stderr together
};

Outcome run(const std::string& program, const std::string& arguments, const std::string& environment = "") {
    std::string command = environment + binaryFolder() + "/bin/" + program + " " + arguments + " 2>&1";
    Outcome outcome;
    std::FILE* pipe = ::popen(command.c_str(), "r");
    if (!pipe) return outcome;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) outcome.output += buffer;
    int status = ::pclose(pipe);
    outcome.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return outcome;
}

TEST(PlayerCommand, HelpDescribesTheOptionsAndExitsZero) {
    Outcome help = run("vorn", "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--windowed"), std::string::npos);
    EXPECT_NE(help.output.find("demo.vorn"), std::string::npos);
}

TEST(PlayerCommand, AnUnknownOptionIsRefusedWithOneLine) {
    Outcome bad = run("vorn", "--fast");
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_EQ(bad.output, "vorn: unknown option --fast (try --help)\n");
}

TEST(PlayerCommand, WithoutADisplayItCannotStartAndSaysSo) {
    Outcome noDisplay = run("vorn", "--windowed", "env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ");
    EXPECT_EQ(noDisplay.exitCode, 1);
    EXPECT_NE(noDisplay.output.find("cannot"), std::string::npos) << noDisplay.output;
}

TEST(EditorCommand, HelpListsTheKeysAndBadArgumentsAreRefusedWithOneLine) {
    Outcome help = run("vorn-edit", "--help");
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("Ctrl+S save"), std::string::npos) << help.output;
    Outcome bad = run("vorn-edit", "--fast");
    EXPECT_EQ(bad.exitCode, 2);
    EXPECT_EQ(bad.output, "vorn-edit: unknown option --fast (try --help)\n");
    Outcome nowhere = run("vorn-edit", "/no/such/folder/demo.vorn");
    EXPECT_EQ(nowhere.exitCode, 2);
    EXPECT_EQ(nowhere.output, "vorn-edit: cannot enter the folder /no/such/folder\n");
}

}  // namespace
}  // namespace vorn::test
