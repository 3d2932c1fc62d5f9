// vorn-capture end to end: the test builds a small production, runs the
// command as a user would and reads the PNG files it wrote.
#include "tools/capture/Capture.h"

#include "nodes/image/Sequence.h"

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
    EXPECT_NE(run.errors.find("2/2 frames"), std::string::npos) << "a progress bar: " << run.errors;
    EXPECT_TRUE(fs::exists("frames/frame_000000.png"));
    EXPECT_TRUE(fs::exists("frames/frame_000001.png"));
    EXPECT_FALSE(fs::exists("frames/frame_000002.png"));  // 0.5 itself is not rendered

    platform::DecodedImage first = readFrame("frames/frame_000000.png");
    ASSERT_EQ(first.channels, 3);
    const std::pair<int, Rgba> quadrants[] = {{480, kRed}, {1440, kGreen}};
    for (auto [x, colour] : quadrants) EXPECT_EQ(framePixel(first, x, 270), colour);
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

TEST_F(Capture, AFirstFrameAfterTheStartShowsWhatThePlayerShowsThen) {
    // A cut at 0.5 s to a blue picture shown through a second cutter (which
    // borrows its pictures only once it has run), and a later cut at 5 s.
    writePicture("show/blue.png", 2, 2, 3, {0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 255});
    engine::Engine engine;
    ui::attachNodeClasses(engine.factory);
    engine.initialise();
    for (auto [name, type] : {std::pair{"Picture", "2D_ImgReader"}, {"Blue", "2D_ImgReader"}, {"Inner", "Sequencer"},
                              {"Cut", "Sequencer"}, {"Viewer 1", "Viewer"}})
        ASSERT_TRUE(engine.createNode(name, type));
    dynamic_cast<nodes::ImageNode_Reader&>(*engine.findNode("Picture")).filename = "pic.png";
    dynamic_cast<nodes::ImageNode_Reader&>(*engine.findNode("Blue")).filename = "blue.png";
    auto& cut = dynamic_cast<nodes::ImageNode_Sequence&>(*engine.findNode("Cut"));
    cut.startTexts[1] = "500";
    cut.startTexts[2] = "5000";
    for (auto [from, to, input] : {std::tuple{"Blue", "Inner", 0}, {"Picture", "Cut", 0}, {"Inner", "Cut", 1},
                                   {"Picture", "Cut", 2}, {"Cut", "Viewer 1", 0}})
        ASSERT_TRUE(engine.connect(from, to, input));
    ASSERT_TRUE(engine.saveProject(folder_.file("show/cut.vorn")));

    CommandResult run = runCapture("show/cut.vorn --out cut --from 0.75 --to 0.76 --fps 100");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(framePixel("cut/frame_000000.png", 480, 270), kBlue);
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

TEST_F(Capture, RefusesWithOneLineAndRendersNothing) {
    folder_.folder().write("show/broken.vorn", std::string("not a project"));
    folder_.folder().write("taken", std::string("a file, not a folder"));
    struct Case {
        const char *arguments, *prefix, *line;
        int exitCode;
    };
    const Case cases[] = {
        {"nowhere.vorn --out f", "", "vorn-capture: cannot read project nowhere.vorn: No such file or directory\n", 1},
        {"show/broken.vorn --out f", "", "vorn-capture: cannot load project show/broken.vorn", 1},
        {"show/show.vorn --out taken/f --to 0.1", "", "vorn-capture: cannot write into output folder taken/f", 1},
        {"show/show.vorn --out f --from 3 --to 2", "", "--to must be later than --from", 2},
        // An empty PATH: ffmpeg cannot be found.
        {"show/show.vorn --out f --to 0.1 --video out.mp4", "PATH=/nonexistent ",
         "--video needs ffmpeg, which is not installed", 1},
    };
    for (const Case& c : cases) {
        CommandResult run = runCapture(c.arguments, c.prefix);
        EXPECT_EQ(run.exitCode == 2, c.exitCode == 2) << c.arguments;
        EXPECT_NE(run.exitCode, 0) << c.arguments;
        EXPECT_NE(run.errors.find(c.line), std::string::npos) << run.errors;
        EXPECT_FALSE(fs::exists("f/frame_000000.png")) << c.arguments;
    }
}

}  // namespace
}  // namespace vorn::test
