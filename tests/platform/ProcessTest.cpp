#include "platform/Process.h"

#include "platform/Debug.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <signal.h>
#include <sys/stat.h>

#include <cerrno>
#include <chrono>
#include <thread>

namespace vorn::platform {
namespace {

bool waitUntilEnded(Process& process) {
    for (int i = 0; i < 500; ++i) {
        if (!process.running()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return false;
}

TEST(Process, StartsAProgramThroughPathResolutionWithArguments) {
    test::TempDir dir;
    std::string script = dir.write("Tools/Echo.sh", "#!/bin/sh\necho \"$1\" > \"$2\"\n");
    ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
    std::string marker = dir.file("marker.txt");
    auto process = Process::start(dir.path() + "\\tools\\echo.SH", {"hello there", marker});
    ASSERT_NE(process, nullptr);
    ASSERT_TRUE(waitUntilEnded(*process));
    auto bytes = test::readBytes(marker);
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "hello there\n");
}

TEST(Process, TerminateEndsARunningProgram) {
    auto process = Process::start("/bin/sleep", {"30"});
    ASSERT_NE(process, nullptr);
    EXPECT_TRUE(process->running());
    auto before = std::chrono::steady_clock::now();
    EXPECT_TRUE(process->terminate());
    EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
    EXPECT_FALSE(process->running());
    EXPECT_EQ(::kill(process->id(), 0), -1);  // gone and collected
    EXPECT_EQ(errno, ESRCH);
    EXPECT_TRUE(process->terminate());  // ending an ended program is fine
}

TEST(Process, TerminateForcesAProgramThatIgnoresTheRequest) {
    auto process = Process::start("/bin/sh", {"-c", "trap '' TERM; exec sleep 30"});
    ASSERT_NE(process, nullptr);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let the trap be set
    EXPECT_TRUE(process->terminate());
    EXPECT_FALSE(process->running());
}

TEST(Process, AMissingProgramIsReported) {
    DebugCapture capture;
    EXPECT_EQ(Process::start("/no/such/program"), nullptr);
    EXPECT_TRUE(capture.contains("/no/such/program")) << capture.text();
}

TEST(RunProgram, CollectsOutputAndExitStatus) {
    auto output = runProgram("sh", {"-c", "printf 'line one\\nline two'; exit 3"});
    ASSERT_TRUE(output);
    EXPECT_EQ(output->standardOutput, "line one\nline two");
    EXPECT_EQ(output->exitStatus, 3);
    EXPECT_FALSE(runProgram("vorn-no-such-program", {}));
}

}  // namespace
}  // namespace vorn::platform
