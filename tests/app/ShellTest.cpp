// The player's frame loop and an editing session, driven by a scripted window
// system, and both command lines.
#include "app/EditorShell.h"
#include "app/Shell.h"

#include "tests/engine/FakeAudioOutput.h"
#include "tests/support/BuildFolders.h"
#include "tests/ui/ShowSupport.h"
#include "ui/editor/GuiFile.h"
#include "ui/widgets/UI_TextBox.h"
#include "ui/widgets/UI_ValueControl.h"

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>

namespace vorn::test {
namespace {

using namespace platform;
using ui::editor::Editor;

std::array<Rgba, 4> filled(Rgba colour) { return {colour, colour, colour, colour}; }

// Escape goes down at a chosen query, messages come from a queue, the screen's
// quarters are recorded at every swap, and every question is answered OK.
class ScriptedWindow : public app::ShellIo {
public:
    bool escapePressed() override { return ++escapeQueries == escapeAtQuery; }
    bool takeMessage(WindowMessage& message) override {
        if (queue.empty()) return false;
        message = queue.front();
        queue.pop_front();
        ++messagesTaken;
        return true;
    }
    void postQuitMessage(int exitCode) override { queue.push_back({WM_QUIT, WParam(exitCode), 0}); }
    void swapBuffers() override {
        presented.push_back(screenQuarters());
        if (onSwap) onSwap(int(presented.size()));
    }
    std::unique_ptr<AudioOutput> createAudio() override { return std::make_unique<FakeAudioOutput>(audio); }
    bool askOkCancel(std::string_view, std::string_view text) override {
        asked.emplace_back(text);
        return true;
    }

    void mouse(uint32_t message, int x, int y) { queue.push_back({message, 0, makeMouseLParam(x, y)}); }
    void click(int x, int y) {
        mouse(WM_MOUSEMOVE, x, y);
        mouse(WM_LBUTTONDOWN, x, y);
        mouse(WM_LBUTTONUP, x, y);
    }
    void key(int virtualKey, bool control = false) {
        if (control) queue.push_back({WM_KEYDOWN, WParam(VK_CONTROL), 0});
        queue.push_back({WM_KEYDOWN, WParam(virtualKey), 0});
        queue.push_back({WM_KEYUP, WParam(virtualKey), 0});
        if (control) queue.push_back({WM_KEYUP, WParam(VK_CONTROL), 0});
    }
    void type(const std::string& text) {
        for (char c : text) queue.push_back({WM_CHAR, WParam(uint8_t(c)), 0});
    }

    int escapeAtQuery = -1;
    int escapeQueries = 0;
    int messagesTaken = 0;
    std::deque<WindowMessage> queue;
    std::vector<std::array<Rgba, 4>> presented;
    std::function<void(int)> onSwap;
    std::vector<std::string> asked;
    FakeAudioState audio;
};

class Shell : public GlTest {
protected:
    void TearDown() override {
        clearMessages();
        GlTest::TearDown();
    }
    WorkingDirectory folder_;
    ScriptedWindow window_;
};

TEST_F(Shell, TheLoadingPictureIsPresentedUprightBeforeTheProjectIsOpened) {
    makeDirectory("rsrc");
    makeDirectory("rsrc/misc");
    writeQuadrantPicture("rsrc/misc/loading.png", 64, 36);
    std::vector<uint8_t> blue(16 * 9 * 3);
    for (std::size_t i = 2; i < blue.size(); i += 3) blue[i] = 255;
    writePicture("blue.png", 16, 9, 3, blue);
    ASSERT_TRUE(saveShowProject("prepared.vorn", "blue.png", false));
    // The project only appears once the loading picture is on screen.
    window_.onSwap = [](int swaps) {
        if (swaps == 2) std::filesystem::rename("prepared.vorn", "demo.vorn");
    };
    window_.escapeAtQuery = 3;
    EXPECT_EQ(app::runShow(window_), 0);
    EXPECT_EQ(window_.presented, (std::vector{filled(kBlack), kQuadrants, filled(kBlue), filled(kBlue)}));
    EXPECT_EQ(window_.audio.plays, 1);
}

TEST_F(Shell, EscapeIsTestedBeforeMessagesSoItEndsTheShowWhileTheyKeepComing) {
    window_.queue.assign(100, {WM_MOUSEMOVE, 0, 0});
    window_.escapeAtQuery = 5;
    EXPECT_EQ(app::runShow(window_), 0);
    EXPECT_EQ(window_.messagesTaken, 4);
    EXPECT_EQ(window_.presented.size(), 2u);  // the loading frame only
}

TEST_F(Shell, ACloseEndsTheShowOnceTheQuitPostedBehindWaitingMessagesIsTakenAndMessagesReachTheLoadedPlayer) {
    window_.queue = {{WM_CLOSE, 0, 0}, {WM_KEYDOWN, 'A', 0}};
    EXPECT_EQ(app::runShow(window_), 0);
    EXPECT_EQ(window_.messagesTaken, 3);
    EXPECT_EQ(window_.escapeQueries, 3);

    // Window messages reach the player's widgets from its first load until it goes.
    auto player = std::make_unique<ui::Player>(nullptr);
    app::windowProcedure(window_, {WM_MOUSEMOVE, 0, makeMouseLParam(40, 30)});
    EXPECT_EQ(player->ui().master.mouseX, 0);
    player->loadProject("none.vorn");
    app::windowProcedure(window_, {WM_MOUSEMOVE, 0, makeMouseLParam(40, 30)});
    EXPECT_EQ(std::pair(player->ui().master.mouseX, player->ui().master.mouseY), std::pair(40, 30));
    player.reset();
    EXPECT_EQ(ui::windowMessageTarget(), nullptr);
}

TEST_F(Shell, AnEmptySceneEndsAfterTheFirstFrameBeyond202BusySeconds) {
    ui::Player player(nullptr);
    player.engine().busyTime = 150.0f;
    window_.escapeAtQuery = 4;
    app::runFrameLoop(window_, player);
    EXPECT_EQ(window_.presented, std::vector(3, filled(kBlack)));  // ended by Escape
    window_.presented.clear();
    window_.escapeQueries = 0;
    player.engine().busyTime = 202.5f;
    app::runFrameLoop(window_, player);
    EXPECT_EQ(window_.presented.size(), 1u);  // ended by the busy time, after presenting
    EXPECT_FALSE(ui::Player::showIsOver(202.0f));
}

TEST_F(Shell, AProductionMadeWithMouseAndKeysIsSavedAndPlayedByThePlayer) {
    makeDirectory("rsrc");
    writeQuadrantPicture("rsrc/pic_1.png", 64, 36);
    auto row = [](Editor& editor, const std::string& type) {
        const auto& types = editor.nodeList().items;
        return editor.nodeList().rowTop(int(std::find(types.begin(), types.end(), type) - types.begin())) + 9;
    };
    auto widget = [](Editor& editor, const std::string& name) {
        for (ui::UI_Object* child : editor.parameters().children()) {
            auto* box = dynamic_cast<ui::UI_TextBox*>(child);
            auto* control = dynamic_cast<ui::UI_ValueControl*>(child);
            if ((box && box->name == name) || (control && control->parameterName == name)) return child;
        }
        return static_cast<ui::UI_Object*>(nullptr);
    };
    std::vector<std::function<void(Editor&)>> steps = {
        [&](Editor& editor) { window_.click(60, row(editor, "2D_ImgReader")); },
        [&](Editor& editor) { window_.click(60, row(editor, "Viewer")); },
        [&](Editor& editor) {
            ui::UI_Node* reader = editor.graph().box("2D_ImgReader 1");
            ui::UI_Node* viewer = editor.graph().box("Viewer 1");
            ASSERT_TRUE(reader && viewer);
            window_.click(reader->outputX(), reader->outputY());
            window_.click(viewer->inputX(), viewer->inputY(0));
            window_.mouse(WM_LBUTTONDBLCLK, reader->x + 30, reader->y + 10);  // the title: its alias
            for (int i = 0; i < 14; ++i) window_.key(VK_BACK);
            window_.type("pic");
            window_.key(VK_RETURN);
            window_.mouse(WM_MOUSEMOVE, reader->x + 40, reader->y + 10);
            window_.mouse(WM_RBUTTONDOWN, reader->x + 40, reader->y + 10);  // its parameters
            window_.mouse(WM_RBUTTONUP, reader->x + 40, reader->y + 10);
        },
        [&](Editor& editor) {
            ui::UI_Object* file = widget(editor, "Filename");
            ui::UI_Object* scale = widget(editor, "ScaleFac");
            ASSERT_TRUE(file && scale);
            window_.click(file->x + 200, file->y + 15);
            window_.type("rsrc/pic_1.png");
            window_.key(VK_RETURN);
            // Keyed at 0 s as it is (a step back from 0 stays there), then 0.5
            // typed at 0.3 s (three steps of a tenth).
            int vx = scale->x + scale->width / 2 + 4, vy = scale->y + 9;
            window_.mouse(WM_MOUSEMOVE, vx, vy);
            window_.key(VK_LEFT);
            window_.key('S');
            for (int i = 0; i < 3; ++i) window_.key(VK_RIGHT);
            window_.mouse(WM_LBUTTONDBLCLK, vx, vy);
            for (int i = 0; i < 6; ++i) window_.key(VK_BACK);
            window_.type("0.5");
            window_.key(VK_RETURN);
        },
        [&](Editor& editor) {
            EXPECT_EQ(editor.trackNames, std::vector<std::string>{"2D_ImgReader 1.ScaleFac"});
            window_.key('S', true);
        },
        [&](Editor& editor) {
            EXPECT_FALSE(editor.changedSinceSave());
            window_.key('Q', true);
        },
    };
    std::size_t next = 0;
    int frames = 0;
    app::runEditor(window_, "demo.vorn", [&](Editor& editor) {
        if (next < steps.size()) steps[next++](editor);
        ASSERT_LT(++frames, 40) << "the editor did not end";
    });
    EXPECT_TRUE(window_.asked.empty());  // saved before quitting: nothing to ask

    engine::Engine saved;
    ui::attachNodeClasses(saved.factory);
    ASSERT_TRUE(saved.loadProject("demo.vorn", false, ""));
    auto* reader = dynamic_cast<nodes::ImageNode_Reader*>(saved.findNode("2D_ImgReader 1"));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->filename, "rsrc/pic_1.png");
    EXPECT_EQ(saved.findNode("Viewer 1")->inputs[0], reader);
    ASSERT_EQ(saved.tracksByNode["2D_ImgReader 1"].size(), 1u);
    const auto& keys = saved.tracksByNode["2D_ImgReader 1"][0].keys;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(std::pair(keys[0].time, keys[0].value), std::pair(0.0f, 1.0f));
    EXPECT_NEAR(keys[1].time, 0.3f, 1e-5);
    EXPECT_EQ(keys[1].value, 0.5f);
    std::vector<ui::editor::GuiLayout::Alias> aliases = ui::editor::readGuiFile(readBytes("demo.vorngui")).layout.aliases;
    ASSERT_FALSE(aliases.empty());
    EXPECT_EQ(aliases[0].name + " " + aliases[0].alias, "2D_ImgReader 1 pic");

    // The player shows the picture: at 0 s the reader fits it to the screen.
    window_.presented.clear();
    window_.escapeAtQuery = window_.escapeQueries + 4;
    EXPECT_EQ(app::runShow(window_), 0);
    ASSERT_GE(window_.presented.size(), 3u);
    EXPECT_EQ(window_.presented.back(), kQuadrants);
}

// A built program's exit code and its output and errors together.
std::pair<int, std::string> run(const std::string& environment, const std::string& command) {
    std::FILE* pipe = ::popen((environment + binaryFolder() + "/bin/" + command + " 2>&1").c_str(), "r");
    if (!pipe) return {-1, ""};
    std::string output;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, pipe)) output += buffer;
    int status = ::pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(CommandLines, WhatCannotRunIsRefusedWithOneLine) {
    struct Case {
        const char* environment;
        const char* command;
        int exitCode;
        const char* output;  // the whole output, or a part of it after a '~'
    };
    const Case cases[] = {
        {"", "vorn --fast", 2, "vorn: unknown option --fast (try --help)\n"},
        {"env -u DISPLAY -u WAYLAND_DISPLAY SDL_VIDEODRIVER=x11 ", "vorn --windowed", 1, "~cannot"},
        {"", "vorn-edit --fast", 2, "vorn-edit: unknown option --fast (try --help)\n"},
        {"", "vorn-edit /no/such/folder/demo.vorn", 2, "vorn-edit: cannot enter the folder /no/such/folder\n"},
    };
    for (const Case& c : cases) {
        auto [exitCode, output] = run(c.environment, c.command);
        EXPECT_EQ(exitCode, c.exitCode) << c.command;
        if (c.output[0] == '~') {
            EXPECT_NE(output.find(c.output + 1), std::string::npos) << c.command << ": " << output;
        } else {
            EXPECT_EQ(output, c.output) << c.command;
        }
    }
}

}  // namespace
}  // namespace vorn::test
