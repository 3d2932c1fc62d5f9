// vorn-capture end to end: the test builds a small production, runs the
// command as a user would and reads the PNG files it wrote.
#include "tools/capture/Capture.h"

#include "tests/platform/AudioFiles.h"
#include "tests/tools/capture/CaptureCommand.h"
#include "tests/ui/ShowSupport.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

namespace vorn::test {
namespace {

namespace fs = std::filesystem;

class Capture : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        platform::makeDirectory("show");
        writeQuadrantPicture("show/pic.png", 64, 36);
        ASSERT_TRUE(saveShowProject(folder_.file("show/show.vorn"), "pic.png", true));
    }

    void writeMusic(const std::vector<uint8_t>& bytes) { folder_.folder().write("show/rsrc/track.mp3", bytes); }

    // A stand-in ffmpeg that keeps its input and arguments beside the video it was asked for.
    std::string fakeFfmpegPath() {
        std::string fake = folder_.folder().write("bin/ffmpeg",
                                                  "#!/bin/sh\n"
                                                  "for last; do :; done\n"
                                                  "cat > \"$last.raw\"\n"
                                                  "echo \"$@\" > \"$last.args\"\n");
        ::chmod(fake.c_str(), 0755);
        return "PATH=" + folder_.file("bin") + ":$PATH ";
    }

    std::string textOf(const std::string& name) {
        std::vector<uint8_t> bytes = readBytes(folder_.file(name));
        return std::string(bytes.begin(), bytes.end());
    }

    WorkingDirectory folder_;
};

TEST_F(Capture, WritesOneUprightRgbFramePerTimeFromFromUpToTo) {
    CommandResult run = runCapture("show/show.vorn --out frames --from 0 --to 0.5 --fps 4");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_TRUE(fs::exists("frames/frame_000000.png"));
    EXPECT_TRUE(fs::exists("frames/frame_000001.png"));
    EXPECT_FALSE(fs::exists("frames/frame_000002.png"));  // 0.5 itself is not rendered

    platform::DecodedImage first = readFrame("frames/frame_000000.png");
    ASSERT_EQ(first.width, 1920);
    ASSERT_EQ(first.height, 1080);
    ASSERT_EQ(first.channels, 3);
    EXPECT_EQ(framePixel(first, 480, 270), kRed);
    EXPECT_EQ(framePixel(first, 1440, 270), kGreen);
    EXPECT_EQ(framePixel(first, 480, 810), kBlue);
    EXPECT_EQ(framePixel(first, 1440, 810), kWhite);

    // At 0.25 s the keyed position has moved the picture 240 pixels right.
    platform::DecodedImage second = readFrame("frames/frame_000001.png");
    EXPECT_EQ(framePixel(second, 100, 270), kBlack);
    EXPECT_EQ(framePixel(second, 700, 270), kRed);
    EXPECT_EQ(framePixel(second, 1500, 810), kWhite);
}

TEST_F(Capture, TheFirstFrameStandsAtFromAndFramesAreRepeatable) {
    CommandResult run = runCapture("show/show.vorn --out late --from 0.75 --to 0.8 --fps 30");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    // 0.75, 0.7833: two frames.
    EXPECT_TRUE(fs::exists("late/frame_000001.png"));
    EXPECT_FALSE(fs::exists("late/frame_000002.png"));
    platform::DecodedImage first = readFrame("late/frame_000000.png");
    // Shifted by 0.75 x 960 = 720 pixels.
    EXPECT_EQ(framePixel(first, 600, 270), kBlack);
    EXPECT_EQ(framePixel(first, 1000, 270), kRed);

    CommandResult again = runCapture("show/show.vorn --out again --from 0.75 --to 0.8 --fps 30");
    ASSERT_EQ(again.exitCode, 0) << again.errors;
    for (const char* name : {"frame_000000.png", "frame_000001.png"})
        EXPECT_EQ(readBytes(folder_.file(std::string("late/") + name)),
                  readBytes(folder_.file(std::string("again/") + name)))
            << name;
}

TEST_F(Capture, RunsInTheProjectsFolderWithMusicStandingAtEachFrame) {
    // A music file makes the stepped device hold a sound; the frames are the same.
    writeMusic(readBytes(stereoToneMp3()));
    platform::makeDirectory("elsewhere");
    platform::changeDirectory("elsewhere");
    CommandResult run = runCapture("../show/show.vorn --out ../music --from 0.5 --to 0.51 --fps 100");
    platform::changeDirectory("..");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    platform::DecodedImage frame = readFrame("music/frame_000000.png");
    EXPECT_EQ(framePixel(frame, 400, 270), kBlack);
    EXPECT_EQ(framePixel(frame, 600, 270), kRed);
    EXPECT_FALSE(fs::exists("music/frame_000001.png"));
}

TEST_F(Capture, PipesTheSameFramesAndTheMusicIntoFfmpegForAVideo) {
    writeMusic(readBytes(stereoToneMp3()));
    CommandResult run = runCapture("show/show.vorn --out frames --from 0.25 --to 0.5 --fps 8 --video show.mp4",
                                   fakeFfmpegPath());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::vector<uint8_t> raw = readBytes(folder_.file("show.mp4.raw"));
    ASSERT_EQ(raw.size(), std::size_t(2) * 1920 * 1080 * 3);
    // The second frame as piped equals the second file, pixel for pixel.
    platform::DecodedImage second = readFrame("frames/frame_000001.png");
    EXPECT_TRUE(std::equal(second.pixels.begin(), second.pixels.end(), raw.begin() + 1920 * 1080 * 3));
    std::string arguments = textOf("show.mp4.args");
    EXPECT_NE(arguments.find("-ss 0.25 -i " + folder_.file("show/rsrc/track.mp3")), std::string::npos) << arguments;
    EXPECT_NE(arguments.find("-framerate 8"), std::string::npos) << arguments;
}

TEST_F(Capture, MusicThatDoesNotDecodeIsSaidOnceAndTheVideoHasNoSoundTrack) {
    std::vector<uint8_t> notMusic = {'I', 'D', '3'};
    notMusic.resize(5000, 'x');
    writeMusic(notMusic);
    CommandResult run = runCapture("show/show.vorn --out frames --to 0.25 --fps 8 --video show.mp4", fakeFfmpegPath());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::string line = "cannot decode music " + folder_.file("show/rsrc/track.mp3") + ": ";
    std::size_t said = run.errors.find(line);
    ASSERT_NE(said, std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find(line, said + 1), std::string::npos) << run.errors;
    EXPECT_EQ(readBytes(folder_.file("show.mp4.raw")).size(), std::size_t(2) * 1920 * 1080 * 3);
    EXPECT_TRUE(fs::exists("frames/frame_000001.png"));
    std::string arguments = textOf("show.mp4.args");
    EXPECT_EQ(arguments.find("track.mp3"), std::string::npos) << arguments;
    EXPECT_EQ(arguments.find("-map"), std::string::npos) << arguments;
}

TEST_F(Capture, ReportsAProgressBarOnStderr) {
    CommandResult run = runCapture("show/show.vorn --out frames --to 0.1 --fps 20");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("2/2 frames"), std::string::npos) << run.errors;
    EXPECT_NE(run.errors.find("fps"), std::string::npos);
}

TEST_F(Capture, FailsWithOneLineForAMissingOrBrokenProject) {
    CommandResult missing = runCapture("nowhere.vorn --out frames");
    EXPECT_NE(missing.exitCode, 0);
    EXPECT_NE(missing.errors.find("vorn-capture: cannot read project nowhere.vorn: No such file or directory\n"),
              std::string::npos)
        << missing.errors;
    EXPECT_FALSE(fs::exists("frames"));

    folder_.folder().write("show/broken.vorn", std::string("not a project"));
    CommandResult broken = runCapture("show/broken.vorn --out frames");
    EXPECT_NE(broken.exitCode, 0);
    EXPECT_NE(broken.errors.find("vorn-capture: cannot load project show/broken.vorn"), std::string::npos)
        << broken.errors;
    EXPECT_FALSE(fs::exists("frames/frame_000000.png"));
}

TEST_F(Capture, FailsForAnOutputFolderThatCannotBeWritten) {
    folder_.folder().write("taken", std::string("a file, not a folder"));
    CommandResult run = runCapture("show/show.vorn --out taken/frames --to 0.1");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.errors.find("vorn-capture: cannot write into output folder taken/frames"), std::string::npos)
        << run.errors;
}

TEST_F(Capture, RefusesBadOptionsAndAVideoWithoutFfmpeg) {
    EXPECT_EQ(runCapture("show/show.vorn").exitCode, 2);
    EXPECT_EQ(runCapture("show/show.vorn --out f --fps 0").exitCode, 2);
    CommandResult backwards = runCapture("show/show.vorn --out f --from 3 --to 2");
    EXPECT_EQ(backwards.exitCode, 2);
    EXPECT_NE(backwards.errors.find("--to must be later than --from"), std::string::npos);

    // An empty PATH: ffmpeg cannot be found, and nothing is rendered.
    CommandResult video = runCapture("show/show.vorn --out f --to 0.1 --video out.mp4", "PATH=/nonexistent ");
    EXPECT_NE(video.exitCode, 0);
    EXPECT_NE(video.errors.find("--video needs ffmpeg, which is not installed"), std::string::npos) << video.errors;
    EXPECT_FALSE(fs::exists("f/frame_000000.png"));
}

}  // namespace
}  // namespace vorn::test
