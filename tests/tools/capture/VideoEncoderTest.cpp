#include "tools/capture/VideoEncoder.h"

#include "tests/support/TempDir.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdlib>

namespace vorn::test {
namespace {

using capture::ffmpegArguments;

TEST(VideoEncoder, RawRgbFramesInAndTheMusicFromTheFirstFrame) {
    std::vector<std::string> withMusic = ffmpegArguments(1920, 1080, 30, 2.5, "/show/rsrc/track.mp3", "out.mp4");
    std::vector<std::string> expected = {"-hide_banner", "-loglevel", "error", "-y", "-f", "rawvideo", "-pix_fmt",
                                         "rgb24", "-s", "1920x1080", "-framerate", "30", "-i", "pipe:0", "-ss", "2.5",
                                         "-i", "/show/rsrc/track.mp3", "-map", "0:v:0", "-map", "1:a:0", "-c:a", "aac",
                                         "-shortest", "-c:v", "libx264", "-pix_fmt", "yuv420p", "-crf", "18", "out.mp4"};
    EXPECT_EQ(withMusic, expected);

    std::vector<std::string> silent = ffmpegArguments(1920, 1080, 59.94, 0, "", "out.mp4");
    EXPECT_EQ(std::count(silent.begin(), silent.end(), "-i"), 1);
    EXPECT_EQ(silent[11], "59.94");
    EXPECT_EQ(silent.back(), "out.mp4");
}

// A stand-in ffmpeg on PATH that stores what it is fed next to the output name.
class FakeEncoder : public ::testing::Test {
protected:
    void SetUp() override {
        std::string script = folder_.write("bin/ffmpeg",
                                           "#!/bin/sh\n"
                                           "for last; do :; done\n"
                                           "cat > \"$last.raw\"\n"
                                           "echo \"$@\" > \"$last.args\"\n");
        ::chmod(script.c_str(), 0755);
        const char* path = std::getenv("PATH");
        oldPath_ = path ? path : "";
        ::setenv("PATH", (folder_.file("bin") + ":" + oldPath_).c_str(), 1);
    }
    void TearDown() override { ::setenv("PATH", oldPath_.c_str(), 1); }

    TempDir folder_;
    std::string oldPath_;
};

TEST_F(FakeEncoder, EveryFrameReachesTheEncoderWhole) {
    std::string output = folder_.file("show.mp4");
    auto encoder = capture::VideoEncoder::start(4, 2, 10, 0, "", output);
    ASSERT_NE(encoder, nullptr);
    std::vector<uint8_t> frame(4 * 2 * 3, 7);
    EXPECT_TRUE(encoder->addFrame(frame));
    EXPECT_TRUE(encoder->addFrame(frame));
    EXPECT_TRUE(encoder->finish());
    EXPECT_EQ(readBytes(output + ".raw").size(), 48u);
}

TEST_F(FakeEncoder, AnEncoderThatFailsIsReported) {
    folder_.write("bin/ffmpeg", "#!/bin/sh\nexit 3\n");
    auto encoder = capture::VideoEncoder::start(4, 2, 10, 0, "", folder_.file("x.mp4"));
    ASSERT_NE(encoder, nullptr);
    std::vector<uint8_t> frame(4 * 2 * 3, 7);
    encoder->addFrame(frame);  // may or may not reach it before it ends
    EXPECT_FALSE(encoder->finish());
}

}  // namespace
}  // namespace vorn::test
