#include "tools/capture/VideoEncoder.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>

namespace vorn::test {
namespace {

// A stand-in ffmpeg on PATH that fails at once. (The capture tests feed a
// working stand-in through the whole command.)
class FakeEncoder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string script = folder_.write("bin/ffmpeg", "#!/bin/sh\nexit 3\n");
        ::chmod(script.c_str(), 0755);
        const char* path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        ::setenv("PATH", (folder_.file("bin") + ":" + oldPath_).c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", oldPath_.c_str(), 1); }

    TempDir folder_;
    std::string oldPath_;
};

TEST_F(FakeEncoder, AnEncoderThatFailsIsReported) {
    auto encoder = capture::VideoEncoder::start(4, 2, 10, 0, "", folder_.file("x.mp4"));
    ASSERT_NE(encoder, nullptr);
    std::vector<uint8_t> frame(4 * 2 * 3, 7);
    encoder->addFrame(frame);  // may or may not reach it before it ends
    EXPECT_FALSE(encoder->finish());
}

}  // namespace
}  // namespace vorn::test
