#include "ui/Player.h"

#include "tests/engine/FakeAudioOutput.h"
#include "tests/ui/ShowSupport.h"
#include "ui/UI_ViewerNode.h"

#include <gtest/gtest.h>

#include <cmath>

namespace vorn::test {
namespace {

using ui::Player;

class PlayerShow : public GlTest {
protected:
    void writeLoadingPicture() {
        platform::makeDirectory("rsrc");
        platform::makeDirectory("rsrc/misc");
        writeQuadrantPicture("rsrc/misc/loading.png", 64, 36);
    }
    std::unique_ptr<Player> makePlayer(engine::ConfirmQuestion confirm = {}) {
        return std::make_unique<Player>(std::make_unique<FakeAudioOutput>(audio_), std::move(confirm));
    }

    WorkingDirectory folder_;
    FakeAudioState audio_;
};

TEST_F(PlayerShow, ShaderDescriptionsNamingLibraryEffectsBecomeNodeTypes) {
    platform::makeDirectory("Scripts");
    folder_.folder().write("Scripts/Fringe.node",
                           "Type effect\n"
                           "Name \"Fringe\" \"Chromatic fringe\"\n"
                           "Input 0, \"Source\" \"rgba\"\n"
                           "SourceLib ChromaticAbberation\n");
    auto player = makePlayer();
    const std::vector<std::string>& types = player->engine().nodeTypeNames;
    ASSERT_FALSE(types.empty());
    EXPECT_EQ(types.front(), "Fringe");
    EXPECT_TRUE(player->engine().createNode("Fringe 1", "Fringe"));
    EXPECT_TRUE(player->engine().createNode("Toy", "ShaderToy"));
}

TEST_F(PlayerShow, TheLoadingFrameIsBlackThenTheLoadingPicture) {
    writeLoadingPicture();
    auto player = makePlayer();
    std::vector<Rgba> presented;
    player->showLoadingFrame([&] { presented.push_back(screenPixel(480, 270)); });
    ASSERT_EQ(presented.size(), 2u);
    EXPECT_EQ(presented[0], kBlack);
    EXPECT_EQ(presented[1], kRed);
    // The engine ran once, at time 0, with nothing to show.
    EXPECT_GT(player->engine().busyTime, 0.0f);
    EXPECT_EQ(audio_.updates, 1);
}

TEST_F(PlayerShow, TheFirstFrameSelectsViewer1AndStartsTheMusicOnce) {
    writeQuadrantPicture("pic.png", 64, 36);
    ASSERT_TRUE(saveShowProject("demo.vorn", "pic.png", false));
    auto player = makePlayer();
    ASSERT_TRUE(player->loadProject(Player::kProjectFile));
    EXPECT_EQ(ui::windowMessageTarget(), &player->ui());
    EXPECT_EQ(player->engine().time, 0.0f);
    EXPECT_FALSE(player->playbackStarted());

    player->renderFrame();
    EXPECT_TRUE(player->playbackStarted());
    ASSERT_EQ(player->ui().viewerList.size(), 1u);
    EXPECT_EQ(player->ui().viewerList[0], player->engine().findNode("Viewer 1"));
    EXPECT_EQ(player->ui().selectedViewer, 0);
    EXPECT_TRUE(player->ui().playing);
    EXPECT_EQ(audio_.plays, 1);
    EXPECT_EQ(audio_.position, 0u);
    EXPECT_EQ(audio_.created.back(), player->engine().musicFile);
    EXPECT_EQ(screenPixel(480, 270), kRed);
    EXPECT_EQ(screenPixel(1440, 810), kWhite);

    // Later frames take the time from the music.
    audio_.position = 1500;
    player->renderFrame();
    EXPECT_EQ(audio_.plays, 1);
    EXPECT_EQ(player->engine().time, 1.5f);
}

TEST_F(PlayerShow, OnlyAnOutputNodeNamedExactlyViewer1IsPresented) {
    writeQuadrantPicture("pic.png", 64, 36);
    auto player = makePlayer();
    engine::Engine& engine = player->engine();
    ASSERT_TRUE(engine.createNode("Viewer 1", "2D_ImgReader"));
    ASSERT_TRUE(engine.createNode("viewer 1", "Viewer"));
    ASSERT_TRUE(engine.connect("Viewer 1", "viewer 1", 0));
    static_cast<nodes::ImageNode_Reader*>(engine.findNode("Viewer 1"))->filename = "pic.png";
    player->renderFrame();
    EXPECT_TRUE(player->ui().viewerList.empty());
    EXPECT_EQ(player->ui().selectedViewer, -1);
    EXPECT_EQ(screenPixel(480, 270), kBlack);
    EXPECT_TRUE(player->ui().playing);
}

TEST_F(PlayerShow, AMissingProjectLeavesAnEmptySceneThatStillPlays) {
    auto player = makePlayer();
    EXPECT_FALSE(player->loadProject(Player::kProjectFile));
    EXPECT_EQ(ui::windowMessageTarget(), &player->ui());
    player->renderFrame();
    player->renderFrame();
    EXPECT_TRUE(player->engine().nodesByName.empty());
    EXPECT_EQ(screenPixel(960, 540), kBlack);
}

TEST_F(PlayerShow, LoadingOverAnExistingSceneAsksFirst) {
    writeQuadrantPicture("pic.png", 8, 8);
    ASSERT_TRUE(saveShowProject("demo.vorn", "pic.png", false));
    std::vector<std::string> asked;
    bool answer = false;
    auto player = makePlayer([&](const std::string& text, const std::string& caption) {
        asked.push_back(caption + ": " + text);
        return answer;
    });
    ASSERT_TRUE(player->engine().createNode("Old", "2D_Transform"));
    EXPECT_FALSE(player->loadProject("demo.vorn"));
    EXPECT_EQ(asked, std::vector<std::string>{"VORN: Load and clear scene?"});
    EXPECT_NE(player->engine().findNode("Old"), nullptr);
    answer = true;
    EXPECT_TRUE(player->loadProject("demo.vorn"));
    EXPECT_EQ(player->engine().findNode("Old"), nullptr);
    EXPECT_NE(player->engine().findNode("Viewer 1"), nullptr);
}

TEST_F(PlayerShow, TheEndOfTheShowIsStrictlyAfter202Seconds) {
    EXPECT_FALSE(Player::showIsOver(0.0f));
    EXPECT_FALSE(Player::showIsOver(202.0f));
    EXPECT_TRUE(Player::showIsOver(std::nextafter(202.0f, 203.0f)));
    auto player = makePlayer();
    player->engine().busyTime = 202.0f;
    EXPECT_FALSE(player->showIsOver());
    player->engine().busyTime = 202.5f;
    EXPECT_TRUE(player->showIsOver());
}

TEST_F(PlayerShow, ShuttingDownStopsWindowMessagesFirst) {
    auto player = makePlayer();
    player->loadProject("none.vorn");
    ASSERT_EQ(ui::windowMessageTarget(), &player->ui());
    player.reset();
    EXPECT_EQ(ui::windowMessageTarget(), nullptr);
}

}  // namespace
}  // namespace vorn::test
