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

TEST(Process, StartsAProgramThroughPathResolutionWithItsArgumentsOrSaysWhyNot) {
    test::TempDir dir;
    std::string script = dir.write("Tools/Echo.sh", "#!/bin/sh\necho \"$1\" > \"$2\"\n");
    ASSERT_EQ(::chmod(script.c_str(), 0755), 0);
    auto process = Process::start(dir.path() + "\\tools\\echo.SH", {"hello there", dir.file("marker.txt")});
    ASSERT_NE(process, nullptr);
    for (int i = 0; i < 500 && process->running(); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    auto bytes = test::readBytes(dir.file("marker.txt"));
    EXPECT_EQ(std::string(bytes.begin(), bytes.end()), "hello there\n");

    DebugCapture capture;
    EXPECT_EQ(Process::start("/no/such/program"), nullptr);
    EXPECT_TRUE(capture.contains("/no/such/program")) << capture.text();
}

TEST(Process, TerminateEndsAndCollectsAProgramEvenOneThatIgnoresTheRequest) {
    for (const char* command : {"exec sleep 30", "trap '' TERM; sleep 30"}) {
        auto process = Process::start("/bin/sh", {"-c", command});
        ASSERT_NE(process, nullptr);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // let a trap be set
        auto before = std::chrono::steady_clock::now();
        EXPECT_TRUE(process->terminate()) << command;
        EXPECT_LT(std::chrono::steady_clock::now() - before, std::chrono::seconds(5));
        EXPECT_EQ(::kill(process->id(), 0), -1) << command;  // gone and collected
        EXPECT_EQ(errno, ESRCH);
        EXPECT_FALSE(process->running());
        EXPECT_TRUE(process->terminate());  // ending an ended program is fine
    }
}

}  // namespace
}  // namespace vorn::platform
