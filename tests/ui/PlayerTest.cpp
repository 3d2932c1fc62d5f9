#include "ui/Player.h"

#include "tests/engine/FakeAudioOutput.h"
#include "tests/ui/ShowSupport.h"

#include <gtest/gtest.h>

namespace vorn::test {
namespace {

using ui::Player;

class PlayerShow : public GlTest {
protected:
    std::unique_ptr<Player> makePlayer(engine::ConfirmQuestion confirm = {}) {
        return std::make_unique<Player>(std::make_unique<FakeAudioOutput>(audio_), std::move(confirm));
    }
    WorkingDirectory folder_;
    FakeAudioState audio_;
};

TEST_F(PlayerShow, ShaderDescriptionsNamingLibraryEffectsBecomeNodeTypes) {
    folder_.folder().write("Scripts/Fringe.node",
                           "Type effect\n"
                           "Name \"Fringe\" \"Chromatic fringe\"\n"
                           "Input 0, \"Source\" \"rgba\"\n"
                           "SourceLib ChromaticAbberation\n");
    auto player = makePlayer();
    EXPECT_TRUE(player->engine().createNode("Fringe 1", "Fringe"));
    EXPECT_TRUE(player->engine().createNode("Toy", "ShaderToy"));
}

TEST_F(PlayerShow, TheFirstFrameShowsViewer1AndStartsTheProjectsMusicOnceThenTheMusicKeepsTheTime) {
    writeQuadrantPicture("pic.png", 64, 36);
    ASSERT_TRUE(saveShowProject("demo.vorn", "pic.png", false));
    auto player = makePlayer();
    ASSERT_TRUE(player->loadProject(Player::kProjectFile));
    EXPECT_EQ(ui::windowMessageTarget(), &player->ui());
    EXPECT_FALSE(player->playbackStarted());
    player->renderFrame();
    EXPECT_EQ(player->ui().viewerList, std::vector<engine::Node*>{player->engine().findNode("Viewer 1")});
    EXPECT_EQ(player->ui().selectedViewer, 0);
    EXPECT_EQ(audio_.plays, 1);
    EXPECT_EQ(audio_.position, 0u);
    EXPECT_EQ(audio_.created.back(), player->engine().musicFile);
    EXPECT_EQ(screenQuarters(), kQuadrants);
    audio_.position = 1500;
    player->renderFrame();
    EXPECT_EQ(audio_.plays, 1);
    EXPECT_EQ(player->engine().time, 1.5f);
}

TEST_F(PlayerShow, OnlyAnOutputNodeNamedExactlyViewer1IsPresented) {
    writeQuadrantPicture("pic.png", 64, 36);
    auto player = makePlayer();
    engine::Engine& engine = player->engine();
    ASSERT_TRUE(engine.createNode("Viewer 1", "2D_ImgReader") && engine.createNode("viewer 1", "Viewer"));
    ASSERT_TRUE(engine.connect("Viewer 1", "viewer 1", 0));
    dynamic_cast<nodes::ImageNode_Reader*>(engine.findNode("Viewer 1"))->filename = "pic.png";
    player->renderFrame();
    EXPECT_TRUE(player->ui().viewerList.empty());
    EXPECT_EQ(screenPixel(480, 270), kBlack);
    EXPECT_TRUE(player->ui().playing);
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

}  // namespace
}  // namespace vorn::test
