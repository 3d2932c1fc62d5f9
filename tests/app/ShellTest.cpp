#include "app/Shell.h"

#include "tests/engine/FakeAudioOutput.h"
#include "tests/ui/ShowSupport.h"

#include <gtest/gtest.h>

#include <deque>
#include <filesystem>
#include <functional>

namespace vorn::test {
namespace {

using platform::WindowMessage;

// The window system as a script: Escape goes down at a chosen query, messages
// come from a queue (or without end), and every presented frame is recorded.
class ScriptedIo : public app::ShellIo {
public:
    bool escapePressed() override { return ++escapeQueries == escapeAtQuery; }
    bool takeMessage(WindowMessage& message) override {
        if (endlessMouseMoves) {
            message = {platform::WM_MOUSEMOVE, 0, platform::makeMouseLParam(1, 1)};
        } else {
            if (queue.empty()) return false;
            message = queue.front();
            queue.pop_front();
        }
        ++messagesTaken;
        return true;
    }
    void postQuitMessage(int exitCode) override { queue.push_back({platform::WM_QUIT, WParam(exitCode), 0}); }
    void swapBuffers() override {
        presented.push_back(screenPixel(480, 270));
        if (onSwap) onSwap(int(presented.size()));
    }
    std::unique_ptr<platform::AudioOutput> createAudio() override { return std::make_unique<FakeAudioOutput>(audio); }
    bool askOkCancel(std::string_view caption, std::string_view text) override { return true; }

    using WParam = platform::WParam;
    int escapeAtQuery = -1;
    int escapeQueries = 0;
    bool endlessMouseMoves = false;
    std::deque<WindowMessage> queue;
    int messagesTaken = 0;
    std::vector<Rgba> presented;  // the screen at (480, 270) at every swap
    std::function<void(int)> onSwap;
    FakeAudioState audio;
};

class Shell : public GlTest {
protected:
    void writeGreenLoadingPicture() {
        platform::makeDirectory("rsrc");
        platform::makeDirectory("rsrc/misc");
        std::vector<uint8_t> green(16 * 9 * 3);
        for (std::size_t i = 1; i < green.size(); i += 3) green[i] = 255;
        writePicture("rsrc/misc/loading.png", 16, 9, 3, green);
    }
    WorkingDirectory folder_;
    ScriptedIo io_;
};

TEST_F(Shell, TheLoadingFrameIsPresentedBeforeTheProjectIsOpened) {
    writeGreenLoadingPicture();
    writeQuadrantPicture("pic.png", 64, 36);
    ASSERT_TRUE(saveShowProject("prepared.vorn", "pic.png", false));
    // The project only appears once the loading picture is on screen: the
    // show can only present it if it opens the file after that.
    io_.onSwap = [](int swaps) {
        if (swaps == 2) std::filesystem::rename("prepared.vorn", "demo.vorn");
    };
    io_.escapeAtQuery = 3;
    EXPECT_EQ(app::runShow(io_), 0);
    ASSERT_EQ(io_.presented.size(), 4u);
    EXPECT_EQ(io_.presented[0], kBlack);
    EXPECT_EQ(io_.presented[1], kGreen);
    EXPECT_EQ(io_.presented[2], kRed);
    EXPECT_EQ(io_.presented[3], kRed);
    EXPECT_EQ(io_.audio.plays, 1);
}

TEST_F(Shell, EscapeIsTestedBeforeMessagesSoItEndsTheShowWhileTheyKeepComing) {
    io_.endlessMouseMoves = true;
    io_.escapeAtQuery = 5;
    EXPECT_EQ(app::runShow(io_), 0);
    EXPECT_EQ(io_.messagesTaken, 4);
    EXPECT_EQ(io_.presented.size(), 2u);  // the loading frame only
}

TEST_F(Shell, ACloseRequestEndsTheShowOnceTheQuitMessageIsTaken) {
    io_.queue = {{platform::WM_CLOSE, 0, 0}, {platform::WM_KEYDOWN, 'A', 0}};
    EXPECT_EQ(app::runShow(io_), 0);
    // WM_CLOSE, the key, then the quit posted behind them.
    EXPECT_EQ(io_.messagesTaken, 3);
    EXPECT_TRUE(io_.queue.empty());
    EXPECT_EQ(io_.escapeQueries, 3);
}

TEST_F(Shell, AMissingProjectPlaysAnEmptySceneUntilEscape) {
    io_.escapeAtQuery = 4;
    EXPECT_EQ(app::runShow(io_), 0);
    ASSERT_EQ(io_.presented.size(), 5u);
    EXPECT_EQ(io_.presented[4], kBlack);
}

TEST_F(Shell, TheShowEndsAfterTheFirstFrameBeyond202BusySeconds) {
    ui::Player player(nullptr);
    player.engine().busyTime = 150.0f;
    io_.escapeAtQuery = 4;
    app::runFrameLoop(io_, player);
    EXPECT_EQ(io_.presented.size(), 3u);  // ended by Escape

    io_.presented.clear();
    io_.escapeQueries = 0;
    player.engine().busyTime = 202.5f;
    app::runFrameLoop(io_, player);
    EXPECT_EQ(io_.presented.size(), 1u);  // ended by the busy time, after presenting
}

TEST_F(Shell, TheWindowProcedurePostsQuitOnCloseAndFeedsTheUi) {
    app::windowProcedure(io_, {platform::WM_CLOSE, 0, 0});
    ASSERT_EQ(io_.queue.size(), 1u);
    EXPECT_EQ(io_.queue[0].message, platform::WM_QUIT);
    EXPECT_EQ(io_.queue[0].wParam, 0u);

    ui::Player player(nullptr);
    player.loadProject("none.vorn");
    app::windowProcedure(io_, {platform::WM_MOUSEMOVE, 0, platform::makeMouseLParam(40, 30)});
    EXPECT_EQ(player.ui().master.mouseX, 40);
    EXPECT_EQ(player.ui().master.mouseY, 30);
}

}  // namespace
}  // namespace vorn::test
