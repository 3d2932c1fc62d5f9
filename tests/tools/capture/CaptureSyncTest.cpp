// vorn-capture with Rocket-linked parameters: played back from ".track" files
// without --sync, driven live by a tracker on this machine with --sync.
#include "sync/SyncTrack.h"
#include "sync/TrackFile.h"
#include "tests/support/FakeTracker.h"
#include "tests/tools/capture/CaptureCommand.h"
#include "tests/ui/ShowSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <future>

namespace vorn::test {
namespace {

namespace fs = std::filesystem;

// "Picture" reads a 16:9 quadrant picture in FIT mode; its "ScaleFac" is linked
// to the Rocket track "zoom". At factor 1 the screen shows the four quadrants;
// at factor 2 the sampled coordinate is halved, so only the red top-left
// quadrant fills the whole screen.
bool saveZoomProject(const std::string& path) {
    engine::Engine engine;
    ui::attachNodeClasses(engine.factory);
    engine.initialise();
    if (!engine.createNode("Picture", "2D_ImgReader") || !engine.createNode("Viewer 1", "Viewer")) return false;
    auto* reader = dynamic_cast<nodes::ImageNode_Reader*>(engine.findNode("Picture"));
    reader->filename = "pic.png";
    reader->scaleMode = nodes::ImageNode_Reader::Fit;
    return engine.connect("Picture", "Viewer 1", 0) && engine.linkSyncTrack("Picture", "zoom", "ScaleFac") &&
           engine.saveProject(path);
}

class CaptureSync : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        platform::makeDirectory("show");
        writeQuadrantPicture("show/pic.png", 64, 36);
        ASSERT_TRUE(saveZoomProject(folder_.file("show/zoom.vorn")));
    }

    WorkingDirectory folder_;
};

TEST_F(CaptureSync, LinkedParametersPlayBackFromTrackFilesAndKeepTheirValueWithoutOne) {
    CommandResult still = runCapture("show/zoom.vorn --out still --to 0.1 --fps 10");
    ASSERT_EQ(still.exitCode, 0) << still.errors;
    EXPECT_EQ(framePixel("still/frame_000000.png", 1440, 810), kWhite);

    sync::SyncTrack zoom{"zoom", {{0, 2.0f, sync::Step}}};
    ASSERT_TRUE(sync::saveTrackFile(zoom, "show/" + sync::trackPath("sync", "zoom")));
    CommandResult played = runCapture("show/zoom.vorn --out played --to 0.1 --fps 10");
    ASSERT_EQ(played.exitCode, 0) << played.errors;
    EXPECT_EQ(framePixel("played/frame_000000.png", 1440, 810), kRed);
    EXPECT_EQ(framePixel("played/frame_000000.png", 100, 100), kRed);
}

TEST_F(CaptureSync, WithSyncATrackerOnPort1338DrivesTheLinkedParameter) {
    std::unique_ptr<FakeTracker> tracker;
    try {
        tracker = std::make_unique<FakeTracker>(1338);
    } catch (const std::exception&) {
        GTEST_SKIP() << "port 1338 is taken on this machine";
    }
    std::future<TrackerPeer> accepted = tracker->acceptAsync();
    std::future<CommandResult> capture =
        std::async(std::launch::async, [] { return runCapture("show/zoom.vorn --sync --out live --to 0.5 --fps 10"); });

    TrackerPeer peer = accepted.get();
    ASSERT_TRUE(peer.valid());
    EXPECT_EQ(peer.greeting, "hello, synctracker!");
    EXPECT_EQ(peer.read(requestTrackBytes("zoom").size()), requestTrackBytes("zoom"));
    peer.send(setKeyCommand(0, 0, 2.0f, 0));

    CommandResult run = capture.get();
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    // The key arrives while the first frames render; the last one shows it.
    EXPECT_EQ(framePixel("live/frame_000004.png", 1440, 810), kRed);
}

TEST_F(CaptureSync, WithSyncAndNoTrackerItSaysSoAndRendersNothing) {
    CommandResult run = runCapture("show/zoom.vorn --sync --out nothing --to 0.1");
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.errors.find("no sync tracker answered on localhost port 1338"), std::string::npos) << run.errors;
    EXPECT_FALSE(fs::exists("nothing/frame_000000.png"));
}

}  // namespace
}  // namespace vorn::test
