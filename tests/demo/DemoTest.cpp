// The bundled production as a new user gets it: every node of demo.vorn is
// created from its type, nothing is in error, the Rocket track plays from its
// file, and each scene puts its own picture on the screen, the 3D scene too.
#include "ui/Player.h"

#include "platform/AudioOutput.h"
#include "platform/Paths.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn::test {
namespace {

class BundledDemo : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        previous_ = platform::currentDirectory();
        ASSERT_TRUE(platform::changeDirectory(binaryFolder() + "/demo"));
        audio_ = platform::createSteppedAudio();
        clock_ = audio_.get();
        player_ = std::make_unique<ui::Player>(std::move(audio_));
        ASSERT_TRUE(player_->loadProject(ui::Player::kProjectFile));
    }
    void TearDown() override {
        player_.reset();
        platform::changeDirectory(previous_);
        GlTest::TearDown();
    }

    // Renders the frame at t seconds and returns the screen pixel at (x, y) from the top-left.
    Rgba frameAt(float seconds, int x, int y) {
        clock_->standAt(uint32_t(seconds * 1000.0f));
        player_->renderFrame();
        return readPixel(x, 1079 - y);
    }

    // True when some pixel of the screen row y (from the top), between x 600
    // and 1300, is a grid-line cyan.
    static bool rowHasCyan(int y) {
        for (int x = 600; x < 1300; ++x) {
            Rgba p = readPixel(x, 1079 - y);
            if (p.r < 100 && p.g > 150 && p.b > 150) return true;
        }
        return false;
    }

    std::string previous_;
    std::unique_ptr<platform::SteppedAudioOutput> audio_;
    platform::SteppedAudioOutput* clock_ = nullptr;
    std::unique_ptr<ui::Player> player_;
};

TEST_F(BundledDemo, EveryNodeIsCreatedAndNoneIsInErrorAfterAFrame) {
    engine::Engine& engine = player_->engine();
    EXPECT_EQ(engine.nodesByName.size(), engine.nodeTypes.size());
    EXPECT_NE(engine.findNode("Viewer 1"), nullptr);
    frameAt(1.0f, 0, 0);
    for (const auto& [name, node] : engine.nodesByName) EXPECT_FALSE(node->hasError) << name;
}

TEST_F(BundledDemo, TheVignettePulsePlaysFromItsTrackFile) {
    EXPECT_EQ(player_->engine().syncBindings.size(), 1u);
}

TEST_F(BundledDemo, EachSceneShowsItsOwnPicture) {
    // Dawn: the sun sits in the middle of the horizon, warm and bright, and
    // nothing on the sky is cyan.
    Rgba sun = frameAt(5.0f, 960, 700);
    EXPECT_GT(sun.r, 200);
    EXPECT_GT(sun.g, 180);
    EXPECT_FALSE(rowHasCyan(300));
    // Grid: cyan grid lines cross that row.
    frameAt(20.0f, 0, 0);
    EXPECT_TRUE(rowHasCyan(300));
    // Dusk at its end: faded almost to black.
    Rgba end = frameAt(61.3f, 960, 700);
    EXPECT_LT(end.r + end.g + end.b, 60);
}

TEST_F(BundledDemo, TheRelicSceneIsLitAndItsCloseShotLetterboxed) {
    // Each shot's first frame is drawn twice: a sequencer reads its start
    // times one frame late.
    frameAt(49.0f, 0, 0);
    // The floor under the relic is lit by the environment.
    for (int x : {400, 960, 1500}) {
        Rgba floor = frameAt(49.0f, x, 1000);
        EXPECT_GT(floor.r + floor.g + floor.b, 150) << x;
    }
    // The close shot: black bars of a 2.39 lens above and below, and the
    // neon grid of its material on the column between them.
    frameAt(53.0f, 0, 0);
    Rgba bar = frameAt(53.0f, 960, 60);
    EXPECT_EQ(bar.r + bar.g + bar.b, 0);
    int cyan = 0;
    for (int x = 600; x < 1300; ++x) {
        Rgba p = readPixel(x, 1079 - 540);
        cyan += p.g > 200 && p.b > 200 && p.r + 60 < p.g;
    }
    EXPECT_GT(cyan, 10);
}

TEST_F(BundledDemo, TheValleyFollowsTheGlitchWithItsNeonSignAtDuskThenAtNight) {
    frameAt(1.0f, 0, 0);  // the cuts take their start times from the first frame drawn
    // 2.94 s into the dusk scene the sign's pink frame crosses (1164, 355);
    // 3.18 s into the night one it crosses (1241, 325).
    Rgba duskSign = frameAt(37.5f, 1164, 355);
    EXPECT_GT(duskSign.r, 200);
    EXPECT_GT(duskSign.b, 150);
    Rgba duskSky = readPixel(1800, 1079 - 100);
    Rgba nightSign = frameAt(43.5f, 1241, 325);
    EXPECT_GT(nightSign.r, 200);
    EXPECT_GT(nightSign.b, 150);
    Rgba nightSky = readPixel(1800, 1079 - 100);
    EXPECT_GT(duskSky.r + duskSky.g + duskSky.b, 2 * (nightSky.r + nightSky.g + nightSky.b));
}

}  // namespace
}  // namespace vorn::test
