// The bundled production as a new user gets it: every node of demo.vorn is
// created from its type, nothing is in error, the Rocket track plays from its
// file, and each scene puts its own picture on the screen, the 3D scene too.
#include "platform/AudioOutput.h"
#include "platform/Paths.h"
#include "tests/support/BuildFolders.h"
#include "tests/support/GlFixture.h"
#include "ui/Player.h"

namespace vorn::test {
namespace {

class BundledDemo : public GlTest {
protected:
    void TearDown() override {
        player_.reset();
        platform::changeDirectory(previous_);
        GlTest::TearDown();
    }

    // Renders the frame at t seconds, twice: a cut takes its start times from
    // the frame before, so a shot's first frame may still show the shot before.
    void show(float seconds) {
        clock_->standAt(uint32_t(seconds * 1000.0f));
        player_->renderFrame();
        player_->renderFrame();
    }
    static Rgba at(int x, int y) { return readPixel(x, 1079 - y); }  // from the top-left corner
    static int brightness(Rgba p) { return p.r + p.g + p.b; }
    // How many pixels of the screen row y between x 600 and 1300 are a neon cyan.
    static int cyanIn(int y) {
        int cyan = 0;
        for (int x = 600; x < 1300; ++x) {
            Rgba p = at(x, y);
            cyan += p.g > 150 && p.b > 150 && p.r + 60 < p.g;
        }
        return cyan;
    }

    std::string previous_ = platform::currentDirectory();
    std::unique_ptr<platform::SteppedAudioOutput> audio_ = platform::createSteppedAudio();
    platform::SteppedAudioOutput* clock_ = audio_.get();
    std::unique_ptr<ui::Player> player_;
};

TEST_F(BundledDemo, EveryNodeLoadsWithoutErrorAndEachSceneShowsItsOwnPicture) {
    ASSERT_TRUE(platform::changeDirectory(binaryFolder() + "/demo"));
    player_ = std::make_unique<ui::Player>(std::move(audio_));
    ASSERT_TRUE(player_->loadProject(ui::Player::kProjectFile));
    engine::Engine& engine = player_->engine();
    EXPECT_EQ(engine.nodesByName.size(), engine.nodeTypes.size());
    EXPECT_EQ(engine.syncBindings.size(), 1u) << "the vignette's track file";

    // Dawn: the sun sits in the middle of the horizon, warm and bright, and
    // nothing on the sky is cyan.
    show(5.0f);
    EXPECT_GT(at(960, 700).r, 200);
    EXPECT_GT(at(960, 700).g, 180);
    EXPECT_EQ(cyanIn(300), 0);
    // Grid: cyan grid lines cross that row.
    show(20.0f);
    EXPECT_GT(cyanIn(300), 0);

    // The valley: 2.94 s into the dusk scene the sign's pink frame crosses
    // (1164, 355); 3.18 s into the night one it crosses (1241, 325); the night sky is darker.
    show(37.5f);
    EXPECT_GT(at(1164, 355).r, 200);
    EXPECT_GT(at(1164, 355).b, 150);
    int duskSky = brightness(at(1800, 100));
    show(43.5f);
    EXPECT_GT(at(1241, 325).r, 200);
    EXPECT_GT(at(1241, 325).b, 150);
    EXPECT_GT(duskSky, 2 * brightness(at(1800, 100)));

    // The relic: the floor under it is lit by the environment; the close shot
    // has the black bars of a 2.39 lens and the neon grid of its material on
    // the column between them.
    show(49.0f);
    for (int x : {400, 960, 1500}) EXPECT_GT(brightness(at(x, 1000)), 150) << x;
    show(53.0f);
    EXPECT_EQ(brightness(at(960, 60)), 0);
    EXPECT_GT(cyanIn(540), 10);

    // Dusk at its end: faded almost to black.
    show(61.3f);
    EXPECT_LT(brightness(at(960, 700)), 60);
    // Every node has now run in its scene.
    for (const auto& [name, node] : engine.nodesByName) EXPECT_FALSE(node->hasError) << name;
}

}  // namespace
}  // namespace vorn::test
