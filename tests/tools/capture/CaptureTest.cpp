// vorn-capture end to end (the tests build small productions, run the command
// as a user would and read back the PNG files it wrote), its command line and
// its frame times.
#include "nodes/image/Sequence.h"
#include "platform/ImageDecoder.h"
#include "platform/Process.h"
#include "tests/platform/AudioFiles.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/FakeTracker.h"
#include "tests/ui/ShowSupport.h"
#include "tools/capture/CaptureOptions.h"
#include "tools/capture/FrameSchedule.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

namespace vorn::test {
namespace {

namespace fs = std::filesystem;
using capture::FrameSchedule;

struct CaptureRun {
    int exitCode = -1;
    std::string errors;  // its standard error: lines and the progress bar
};

// Runs vorn-capture in the current folder; prefix sets its environment.
CaptureRun runCapture(const std::string& arguments, const std::string& prefix = "") {
    auto run = platform::runProgram(
        "sh", {"-c", prefix + binaryFolder() + "/bin/vorn-capture " + arguments + " 2>&1 >/dev/null"});
    return run ? CaptureRun{run->exitStatus, run->standardOutput} : CaptureRun{};
}

// The colour at (x, y) from the top-left corner of an RGB frame file.
Rgba framePixel(const std::string& path, int x, int y) {
    auto frame = platform::decodeImageFile(path);
    EXPECT_TRUE(frame && frame->channels == 3) << path << " is no RGB frame";
    if (!frame || frame->channels != 3) return {};
    const uint8_t* p = &frame->pixels[(std::size_t(y) * frame->width + x) * 3];
    return {p[0], p[1], p[2], 255};
}

std::string textOf(const std::string& path) {
    std::vector<uint8_t> bytes = readBytes(path);
    return {bytes.begin(), bytes.end()};
}

// show/show.vorn: the quadrant picture (red, green / blue, white), stretched
// over the screen and keyed to move t x 960 pixels right at t seconds.
class Capture : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        platform::makeDirectory("show");
        writeQuadrantPicture("show/pic.png", 64, 36);
        ASSERT_TRUE(saveShowProject(folder_.file("show/show.vorn"), "pic.png", true));
    }

    // A stand-in ffmpeg running script, with the video's path as "$last";
    // returns the environment prefix that puts it first on PATH.
    std::string fakeFfmpeg(const std::string& script) {
        std::string path = folder_.folder().write("bin/ffmpeg", "#!/bin/sh\nfor last; do :; done\n" + script);
        fs::permissions(path, fs::perms::owner_all);
        return "PATH=" + folder_.file("bin") + ":$PATH ";
    }
    // One that keeps the frames piped in and its arguments beside the video.
    std::string recordingFfmpeg() { return fakeFfmpeg("cat > \"$last.raw\"\necho \"$@\" > \"$last.args\"\n"); }

    WorkingDirectory folder_;
};

TEST_F(Capture, FramesStandAtFromAndEachFrameTimeAndTheVideoGetsTheSameFramesAndTheMusic) {
    // Run from another folder: the project's pictures and music are found
    // beside it, the output paths from where the command was given.
    folder_.folder().write("show/rsrc/track.mp3", readBytes(stereoToneMp3()));
    CaptureRun run = runCapture("../show/show.vorn --out ../frames --from 0.25 --to 0.5 --fps 8 --video ../show.mp4",
                             "mkdir elsewhere && cd elsewhere && " + recordingFfmpeg());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.errors.find("2/2 frames"), std::string::npos) << "a progress bar: " << run.errors;
    EXPECT_FALSE(fs::exists("frames/frame_000002.png")) << "0.5 itself is not rendered";

    // Upright, shifted 0.25 x 960 = 240 pixels at the first frame and 360 at the second.
    EXPECT_EQ(framePixel("frames/frame_000000.png", 100, 270), kBlack);
    EXPECT_EQ(framePixel("frames/frame_000000.png", 300, 270), kRed);
    EXPECT_EQ(framePixel("frames/frame_000000.png", 1250, 270), kGreen);
    EXPECT_EQ(framePixel("frames/frame_000000.png", 300, 810), kBlue);
    EXPECT_EQ(framePixel("frames/frame_000001.png", 300, 270), kBlack);
    EXPECT_EQ(framePixel("frames/frame_000001.png", 400, 270), kRed);

    std::vector<uint8_t> raw = readBytes(folder_.file("show.mp4.raw"));
    ASSERT_EQ(raw.size(), std::size_t(2) * 1920 * 1080 * 3);
    auto second = platform::decodeImageFile("frames/frame_000001.png");
    ASSERT_TRUE(second);
    EXPECT_TRUE(std::equal(second->pixels.begin(), second->pixels.end(), raw.begin() + 1920 * 1080 * 3));
    std::string arguments = textOf(folder_.file("show.mp4.args"));
    EXPECT_NE(arguments.find("-ss 0.25 -i " + folder_.file("show/rsrc/track.mp3")), std::string::npos) << arguments;
    EXPECT_NE(arguments.find("-framerate 8"), std::string::npos) << arguments;
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

    CaptureRun run = runCapture("show/cut.vorn --out cut --from 0.75 --to 0.76 --fps 100");
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_EQ(framePixel("cut/frame_000000.png", 480, 270), kBlue);
}

TEST_F(Capture, MusicThatDoesNotDecodeIsSaidOnceAndTheVideoHasNoSoundTrack) {
    folder_.folder().write("show/rsrc/track.mp3", "ID3" + std::string(4997, 'x'));
    CaptureRun run = runCapture("show/show.vorn --out frames --to 0.25 --fps 8 --video show.mp4", recordingFfmpeg());
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    std::string line = "cannot decode music " + folder_.file("show/rsrc/track.mp3") + ": ";
    std::size_t said = run.errors.find(line);
    ASSERT_NE(said, std::string::npos) << run.errors;
    EXPECT_EQ(run.errors.find(line, said + 1), std::string::npos) << run.errors;
    EXPECT_EQ(readBytes(folder_.file("show.mp4.raw")).size(), std::size_t(2) * 1920 * 1080 * 3);
    std::string arguments = textOf(folder_.file("show.mp4.args"));
    EXPECT_EQ(arguments.find("track.mp3"), std::string::npos) << arguments;
    EXPECT_EQ(arguments.find("-map"), std::string::npos) << arguments;
}

TEST_F(Capture, RefusesWithOneLineAndRendersNothing) {
    folder_.folder().write("show/broken.vorn", std::string("not a project"));
    folder_.folder().write("taken", std::string("a file, not a folder"));
    std::string failingFfmpeg = fakeFfmpeg("exit 3\n");
    const std::tuple<std::string, std::string, std::string, int> cases[] = {
        {"nowhere.vorn --out f", "", "vorn-capture: cannot read project nowhere.vorn: No such file or directory\n", 1},
        {"show/broken.vorn --out f", "", "vorn-capture: cannot load project show/broken.vorn", 1},
        {"show/show.vorn --out taken/f --to 0.1", "", "vorn-capture: cannot write into output folder taken/f", 1},
        {"show/show.vorn --out f --from 3 --to 2", "", "--to must be later than --from", 2},
        {"show/show.vorn --out f --to 0.1 --video out.mp4", "PATH=/nonexistent ",
         "--video needs ffmpeg, which is not installed", 1},
        // The frames it wrote before the encoder failed stay; the run still fails.
        {"show/show.vorn --out g --to 0.1 --video out.mp4", failingFfmpeg, "vorn-capture: ffmpeg ", 1},
    };
    for (const auto& [arguments, prefix, line, exitCode] : cases) {
        CaptureRun run = runCapture(arguments, prefix);
        EXPECT_EQ(run.exitCode, exitCode) << arguments;
        EXPECT_NE(run.errors.find(line), std::string::npos) << run.errors;
    }
    EXPECT_FALSE(fs::exists("f/frame_000000.png"));
}

TEST_F(Capture, WithSyncATrackerOnPort1338DrivesLinkedParametersAndWithoutOneNothingIsRendered) {
    // The picture in FIT mode with its "ScaleFac" linked to the Rocket track
    // "zoom": at factor 1 the screen shows the four quadrants; at factor 2 the
    // sampled coordinate is halved, so the red quadrant fills the screen.
    engine::Engine engine;
    ui::attachNodeClasses(engine.factory);
    engine.initialise();
    ASSERT_TRUE(engine.createNode("Picture", "2D_ImgReader") && engine.createNode("Viewer 1", "Viewer"));
    auto& reader = dynamic_cast<nodes::ImageNode_Reader&>(*engine.findNode("Picture"));
    reader.filename = "pic.png";
    reader.scaleMode = nodes::ImageNode_Reader::Fit;
    ASSERT_TRUE(engine.connect("Picture", "Viewer 1", 0) && engine.linkSyncTrack("Picture", "zoom", "ScaleFac"));
    ASSERT_TRUE(engine.saveProject(folder_.file("show/zoom.vorn")));
    std::unique_ptr<FakeTracker> tracker;
    try {
        tracker = std::make_unique<FakeTracker>(1338);
    } catch (const std::exception&) {
        GTEST_SKIP() << "port 1338 is taken on this machine";
    }

    // First the port answers as no tracker does; holding it, the test knows
    // that nothing else on this machine answered in its place.
    std::future<TrackerPeer> notATracker = tracker->acceptAsync("hello, what?");
    CaptureRun refused = runCapture("show/zoom.vorn --sync --out nothing --to 0.1");
    EXPECT_EQ(notATracker.get().greeting, "hello, synctracker!");
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_NE(refused.errors.find("no sync tracker answered on localhost port 1338"), std::string::npos)
        << refused.errors;
    EXPECT_FALSE(fs::exists("nothing/frame_000000.png"));

    std::future<TrackerPeer> accepted = tracker->acceptAsync();
    std::future<CaptureRun> run = std::async(std::launch::async, [] {
        return runCapture("show/zoom.vorn --sync --out live --to 0.5 --fps 10");
    });
    TrackerPeer peer = accepted.get();
    ASSERT_TRUE(peer.valid());
    EXPECT_EQ(peer.read(requestTrackBytes("zoom").size()), requestTrackBytes("zoom"));
    peer.send(setKeyCommand(0, 0, 2.0f, 0));
    CaptureRun live = run.get();
    ASSERT_EQ(live.exitCode, 0) << live.errors;
    // The key arrives while the first frames render; the last one shows it.
    EXPECT_EQ(framePixel("live/frame_000004.png", 1440, 810), kRed);
}

// Options in every order and form are read by the end-to-end tests; the values
// refused here would make a run without end or without frames.
TEST(CaptureOptions, ValuesThatCannotBeCapturedAreNamedInOneLine) {
    const std::pair<std::vector<std::string>, std::string> mistakes[] = {
        {{"a.vorn", "--out", "f", "--fps", "fast"}, "--fps needs a number, not \"fast\""},
        {{"a.vorn", "--out", "f", "--to", "nan"}, "--to needs a number, not \"nan\""},
        {{"a.vorn", "--out", "f", "--fps", "0"}, "--fps must be above 0 and at most 1000"},
        {{"a.vorn", "--out", "f", "--from", "-1"}, "--from must not be negative"},
        {{"a.vorn", "--out", "f", "--from", "2", "--to", "2"}, "--to must be later than --from"},
        {{"a.vorn", "--out", "f", "--to", "1e9"}, "--to must be at most 4000000 seconds"},
    };
    for (const auto& [arguments, expected] : mistakes) {
        std::string error;
        EXPECT_FALSE(capture::parseCaptureOptions(arguments, &error)) << expected;
        EXPECT_EQ(error, expected);
    }
}

TEST(FrameSchedule, FramesRunFromFromUpToButNotIncludingToAtWholeMilliseconds) {
    const std::tuple<double, double, double, int> counts[] = {
        {0, 10, 60, 600}, {0, 0.5, 4, 2},     {0, 0.51, 4, 3},  // 0, 0.25, 0.5
        {1, 1.1, 30, 3},  {0.75, 0.8, 30, 2}, {0, 0.001, 60, 1}, {2, 1, 60, 0},
        {0, 0.3, 10, 3},  // 0.3 x 10 is 3.0000000000000004 in doubles
    };
    for (auto [from, to, fps, frames] : counts) EXPECT_EQ(FrameSchedule(from, to, fps).frameCount(), frames) << to;

    FrameSchedule schedule(0, 1, 60);
    EXPECT_EQ(schedule.frameTimeMs(1), 17u);   // 16.667, rounded to the nearest
    EXPECT_EQ(schedule.frameTimeMs(6), 100u);  // 99.99999 in doubles
    EXPECT_EQ(FrameSchedule(3.5, 4, 30).frameTimeMs(3), 3600u);
}

}  // namespace
}  // namespace vorn::test
