// The editor's layout file written out by hand, and the editor's commands on
// disk and on the production: snapshots, reverts, imports, failures, wiring.
#include "ui/editor/Editor.h"

#include "engine/RocketSyncConnection.h"
#include "platform/Debug.h"
#include "platform/TcpSocket.h"
#include "tests/ui/ShowSupport.h"
#include "ui/editor/GuiFile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <ctime>

namespace vorn::test {
namespace {

using Bytes = std::vector<uint8_t>;
using ui::editor::readGuiFile;

Bytes i32(int32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(uint32_t(v) >> 24)}; }
Bytes f32(float v) {
    int32_t bits;
    std::memcpy(&bits, &v, 4);
    return i32(bits);
}
Bytes text(const std::string& t) { return Bytes(t.c_str(), t.c_str() + t.size() + 1); }
Bytes operator+(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Two boxes, "Cam" at (10, 20) and "Pic" at (200.5, -4), Cam known as "camera"
// (version 2 only), and Pic's flag cleared.
Bytes twoBoxes(int32_t version) {
    Bytes b = i32(version) + i32(2) + text("Cam") + f32(10) + f32(20) + text("Pic") + f32(200.5f) + f32(-4);
    if (version >= 2) b = b + text("Cam") + text("camera") + text("Pic") + text("Pic");
    return b + i32(2) + text("Cam") + Bytes{1} + text("Pic") + Bytes{0};
}

TEST(GuiFile, BothVersionsPlaceTheBoxesAndOnlyTheSecondHasAliases) {
    for (int32_t version : {1, 2}) {
        ui::editor::GuiReadResult read = readGuiFile(twoBoxes(version));
        ASSERT_TRUE(read.complete) << read.problem;
        ASSERT_EQ(read.layout.positions.size(), 2u);
        EXPECT_EQ(read.layout.positions[1].name, "Pic");
        EXPECT_EQ(std::pair(read.layout.positions[1].x, read.layout.positions[1].y), std::pair(200.5f, -4.0f));
        ASSERT_EQ(read.layout.aliases.size(), version == 2 ? 2u : 0u);
        if (version == 2) {
            EXPECT_EQ(read.layout.aliases[0].alias, "camera");
        }
        ASSERT_EQ(read.layout.boxes.size(), 2u);
        EXPECT_EQ(read.layout.boxes[1].flag, 0);
        EXPECT_EQ(ui::editor::writeGuiFile(read.layout), twoBoxes(version)) << version;
    }
}

TEST(GuiFile, DamagedFilesKeepWhatCameBeforeTheDamage) {
    const Bytes whole = twoBoxes(2);
    struct Case {
        const char* what;
        Bytes bytes;
        std::size_t positions, aliases, boxes;
    };
    const Case cases[] = {
        {"empty", {}, 0, 0, 0},
        {"cut inside the second position", Bytes(whole.begin(), whole.begin() + 20), 1, 0, 0},
        {"cut inside the flags", Bytes(whole.begin(), whole.end() - 2), 2, 2, 1},
        {"a count of two billion in a short file", i32(2) + i32(2000000000) + text("Cam") + f32(1) + f32(2), 1, 0, 0},
        {"a negative count", i32(2) + i32(-3), 0, 0, 0},
        {"a name without its end", i32(2) + i32(1) + Bytes{'C', 'a', 'm'}, 0, 0, 0},
        {"a flag count beyond the file", i32(1) + i32(0) + i32(900000000) + text("A") + Bytes{1}, 0, 0, 1},
        {"bytes after the last flag", whole + Bytes{7}, 2, 2, 2},
    };
    for (const Case& c : cases) {
        ui::editor::GuiReadResult read = readGuiFile(c.bytes);
        EXPECT_FALSE(read.complete) << c.what;
        EXPECT_FALSE(read.problem.empty()) << c.what;
        EXPECT_EQ(read.layout.positions.size(), c.positions) << c.what;
        EXPECT_EQ(read.layout.aliases.size(), c.aliases) << c.what;
        EXPECT_EQ(read.layout.boxes.size(), c.boxes) << c.what;
    }
}

class EditorCommands : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        strptime("2024-05-07 09:03:41", "%Y-%m-%d %H:%M:%S", &now_);
        player_ = std::make_unique<ui::Player>(nullptr);
        ui::editor::EditorServices services;
        services.confirm = [this](const std::string& text) {
            asked_.push_back(text);
            return answer_;
        };
        services.localTime = [this] { return now_; };
        editor_ = std::make_unique<ui::editor::Editor>(*player_, services);
        editor_->open("demo.vorn");
    }
    void TearDown() override {
        editor_.reset();
        player_.reset();
        GlTest::TearDown();
    }
    engine::Engine& engine() { return player_->engine(); }
    std::pair<float, float> boxAt(const std::string& name) { return editor_->graph().placeOf(*editor_->graph().box(name)); }
    void moveBox(const std::string& name, int x, int y) {
        editor_->graph().box(name)->setPosition(editor_->graph().x + x, editor_->graph().y + y);
    }

    WorkingDirectory folder_;
    std::unique_ptr<ui::Player> player_;
    std::unique_ptr<ui::editor::Editor> editor_;
    std::vector<std::string> asked_;
    bool answer_ = true;
    std::tm now_{};
};

TEST_F(EditorCommands, TwoSavesInOneSecondAndTwoRevertsRestoreTheFirstSaveThenRevertDoesNothing) {
    ASSERT_TRUE(editor_->createNode("2D_Transform"));
    moveBox("2D_Transform 1", 100, 50);
    ASSERT_TRUE(editor_->save());
    // The second save, in the same second: another node, the first moved and renamed.
    ASSERT_TRUE(editor_->createNode("2D_Transform"));
    moveBox("2D_Transform 1", 300, 70);
    player_->ui().master.nameAlias["2D_Transform 1"] = "Zoom";
    ASSERT_TRUE(editor_->save());
    EXPECT_TRUE(platform::fileExists("rsrc/demo2024-5-7-9-3-41.vorn"));
    EXPECT_TRUE(platform::fileExists("rsrc/demo2024-5-7-9-3-41-2.vorngui"));

    ASSERT_TRUE(editor_->revert());
    EXPECT_NE(engine().findNode("2D_Transform 2"), nullptr);
    EXPECT_EQ(boxAt("2D_Transform 1"), (std::pair{300.0f, 70.0f}));
    ASSERT_TRUE(editor_->revert());
    EXPECT_EQ(engine().findNode("2D_Transform 2"), nullptr);
    EXPECT_EQ(boxAt("2D_Transform 1"), (std::pair{100.0f, 50.0f}));
    EXPECT_EQ(player_->ui().master.aliasOf("2D_Transform 1"), "2D_Transform 1");
    EXPECT_FALSE(editor_->revert());
    EXPECT_NE(engine().findNode("2D_Transform 1"), nullptr);
    // The production itself stays as last saved.
    engine::Engine saved;
    ui::attachNodeClasses(saved.factory);
    ASSERT_TRUE(saved.loadProject("demo.vorn", false, ""));
    EXPECT_NE(saved.findNode("2D_Transform 2"), nullptr);
}

TEST_F(EditorCommands, ImportingFromAnotherFolderPrefixesTheNodesAndPlacesTheirBoxesClear) {
    TempDir other;
    engine::Engine intro;
    ui::attachNodeClasses(intro.factory);
    intro.initialise();
    intro.musicFile = "intro.mp3";
    ASSERT_TRUE(intro.createNode("Cam", "2D_Transform") && intro.createNode("Pic", "2D_ImgReader"));
    ASSERT_TRUE(intro.connect("Pic", "Cam", 0));
    ASSERT_TRUE(intro.saveProject(other.file("intro.vorn")));
    other.write("intro.vorngui", twoBoxes(2));
    ASSERT_TRUE(editor_->createNode("2D_Transform"));
    moveBox("2D_Transform 1", 500, 100);
    std::string music = engine().musicFile;
    std::string here = platform::currentDirectory();

    ASSERT_TRUE(editor_->importProject(other.file("intro.vorn")));
    ASSERT_NE(engine().findNode("intro-Cam"), nullptr);
    EXPECT_EQ(engine().findNode("intro-Cam")->inputs[0], engine().findNode("intro-Pic"));
    EXPECT_EQ(player_->ui().master.aliasOf("intro-Cam"), "camera");
    EXPECT_EQ(boxAt("2D_Transform 1"), (std::pair{500.0f, 100.0f}));
    EXPECT_GT(boxAt("intro-Cam").first, 500.0f + ui::UI_Node::kWidth);  // clear of the box that was there
    EXPECT_NEAR(boxAt("intro-Pic").first - boxAt("intro-Cam").first, 190.5f, 0.5f);  // boxes sit on whole pixels
    // Only nodes come in: the production keeps its music and its folder.
    EXPECT_EQ(engine().musicFile, music);
    EXPECT_EQ(platform::currentDirectory(), here);
}

TEST_F(EditorCommands, ClearAndQuitAskFirstAndAFailedSaveIsReportedInOneLineAndOnScreen) {
    ASSERT_TRUE(editor_->createNode("2D_Transform"));
    answer_ = false;
    EXPECT_FALSE(editor_->clear());
    EXPECT_FALSE(editor_->requestQuit());
    EXPECT_EQ(asked_, (std::vector<std::string>{"Erase all data and content?", "Quit without saving?"}));
    EXPECT_NE(engine().findNode("2D_Transform 1"), nullptr);
    answer_ = true;
    EXPECT_TRUE(editor_->clear());
    EXPECT_TRUE(engine().nodesByName.empty());
    EXPECT_TRUE(editor_->graph().boxes().empty());

    ASSERT_TRUE(platform::makeDirectory("demo.vorn"));  // where the project would go
    platform::DebugCapture capture;
    EXPECT_FALSE(editor_->save());
    EXPECT_TRUE(capture.contains("cannot write project")) << capture.text();
    EXPECT_EQ(editor_->status.rfind("SAVE FAILED", 0), 0u) << editor_->status;
    EXPECT_TRUE(editor_->revertHistory.empty());
}

TEST_F(EditorCommands, RefusedConnectionsAreSaidAndAConnectedInputIsFreedByPressingIt) {
    ASSERT_TRUE(editor_->createNode("2D_Transform") && editor_->createNode("Viewer") && editor_->createNode("Viewer"));
    ui::editor::NodeGraph& graph = editor_->graph();
    graph.socketPressed(*graph.box("Viewer 1"), -1);
    graph.socketPressed(*graph.box("2D_Transform 1"), 0);
    EXPECT_EQ(editor_->status, "cannot connect Viewer 1 to 2D_Transform 1.Image: that input does not take this kind of node");
    graph.socketPressed(*graph.box("2D_Transform 1"), -1);
    graph.socketPressed(*graph.box("Viewer 2"), 0);
    EXPECT_EQ(engine().findNode("Viewer 2")->inputs[0], engine().findNode("2D_Transform 1"));
    graph.socketPressed(*graph.box("Viewer 2"), 0);
    EXPECT_EQ(engine().findNode("Viewer 2")->inputs[0], nullptr);
    EXPECT_TRUE(engine().findNode("2D_Transform 1")->outputs.empty());
}

TEST_F(EditorCommands, AFailedTrackerLaunchIsSaidTheClientStillWaitsAndTerminateSavesTheTracks) {
    engine().syncConnectionFactory = [](const std::string& base) {
        auto client = sync::SyncClient::createClient(base);
        client->setResolver([] { return std::vector<platform::TcpAddress>{}; });  // no tracker ever answers
        return std::make_unique<engine::RocketSyncConnection>(std::move(client));
    };
    ASSERT_TRUE(editor_->createNode("2D_ImgReader"));
    ASSERT_TRUE(engine().linkSyncTrack("2D_ImgReader 1", "img#ScaleFac", "ScaleFac"));
    platform::DebugCapture capture;
    editor_->toggleRocket();  // there is no tracker program here
    EXPECT_TRUE(capture.contains("cannot start")) << capture.text();
    EXPECT_EQ(editor_->status.rfind("cannot start the tracker", 0), 0u) << editor_->status;
    EXPECT_TRUE(editor_->button("TERMINATE ROCKET").pressed);
    ASSERT_NE(engine().syncClient, nullptr);
    EXPECT_FALSE(engine().syncPlayback);
    editor_->renderFrame();
    engine().syncClient->getTrack("img#ScaleFac");  // what a tracker would have filled
    editor_->toggleRocket();
    EXPECT_TRUE(platform::fileExists("sync_img-23ScaleFac.track"));
    EXPECT_FALSE(editor_->button("LAUNCH ROCKET").pressed);
    EXPECT_TRUE(engine().syncPlayback);  // linked parameters play their saved tracks again
}

}  // namespace
}  // namespace vorn::test
