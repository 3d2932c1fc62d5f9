// The editor end to end in a real hidden window, driven only by window
// messages as a user's mouse and keys would send them: a production made
// from an empty folder, saved, and then played by the player.
#include "app/EditorShell.h"

#include "tests/ui/ShowSupport.h"
#include "ui/widgets/UI_TextBox.h"
#include "ui/widgets/UI_ValueControl.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>

namespace vorn::test {
namespace {

using namespace platform;
using ui::editor::Editor;

// The window system as a script: each step runs after a presented frame and
// queues the messages the next frame's turn delivers.
class ScriptedWindow : public app::ShellIo {
public:
    bool escapePressed() override { return ++escapeQueries == escapeAtQuery; }
    bool takeMessage(WindowMessage& message) override {
        if (queue.empty()) return false;
        message = queue.front();
        queue.pop_front();
        return true;
    }
    void postQuitMessage(int exitCode) override { queue.push_back({WM_QUIT, WParam(exitCode), 0}); }
    void swapBuffers() override {
        // The four quarters of the screen, as the frame left them.
        presented.push_back({screenPixel(480, 270), screenPixel(1440, 270), screenPixel(480, 810), screenPixel(1440, 810)});
    }
    std::unique_ptr<AudioOutput> createAudio() override { return nullptr; }
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

    std::deque<WindowMessage> queue;
    std::vector<std::array<Rgba, 4>> presented;
    std::vector<std::string> asked;
    int escapeAtQuery = -1;
    int escapeQueries = 0;
};

class EditorRun : public GlTest {
protected:
    void TearDown() override {
        clearMessages();
        GlTest::TearDown();
    }
    // The widget of the open parameter panel editing the named parameter.
    template <typename Widget>
    static Widget* parameterWidget(Editor& editor, const std::string& name) {
        for (ui::UI_Object* child : editor.parameters().children())
            if (auto* widget = dynamic_cast<Widget*>(child); widget && widgetName(*widget) == name) return widget;
        return nullptr;
    }
    static const std::string& widgetName(const ui::UI_TextBox& box) { return box.name; }
    static const std::string& widgetName(const ui::UI_ValueControl& control) { return control.parameterName; }

    WorkingDirectory folder_;
    ScriptedWindow window_;
};

TEST_F(EditorRun, AProductionMadeWithMouseAndKeysIsSavedAndPlayedByThePlayer) {
    writeQuadrantPicture("picture.png", 64, 36);
    auto row = [](Editor& editor, const std::string& type) {
        const auto& types = editor.nodeList().items;
        int index = int(std::find(types.begin(), types.end(), type) - types.begin());
        return editor.nodeList().rowTop(index) + 9;
    };
    std::vector<std::function<void(Editor&)>> steps = {
        [&](Editor& editor) { window_.click(60, row(editor, "2D_ImgReader")); },
        [&](Editor& editor) {
            ASSERT_NE(editor.graph().box("2D_ImgReader 1"), nullptr);
            window_.click(60, row(editor, "Viewer"));
        },
        [&](Editor& editor) {
            ui::UI_Node* reader = editor.graph().box("2D_ImgReader 1");
            ui::UI_Node* viewer = editor.graph().box("Viewer 1");
            ASSERT_TRUE(reader && viewer);
            window_.click(reader->outputX(), reader->outputY());
            window_.click(viewer->inputX(), viewer->inputY(0));
            // Its parameters: a right press on the reader's box.
            window_.mouse(WM_MOUSEMOVE, reader->x + 40, reader->y + 10);
            window_.mouse(WM_RBUTTONDOWN, reader->x + 40, reader->y + 10);
            window_.mouse(WM_RBUTTONUP, reader->x + 40, reader->y + 10);
        },
        [&](Editor& editor) {
            ASSERT_EQ(editor.parameters().nodeName(), "2D_ImgReader 1");
            ui::UI_TextBox* file = parameterWidget<ui::UI_TextBox>(editor, "Filename");
            ASSERT_NE(file, nullptr);
            window_.click(file->x + 200, file->y + 15);
            window_.type("picture.png");
            window_.key(VK_RETURN);
            // Keyed at 0 s as it is, then 0.5 typed at 0.3 s (three steps of a tenth).
            ui::UI_ValueControl* scale = parameterWidget<ui::UI_ValueControl>(editor, "ScaleFac");
            ASSERT_NE(scale, nullptr);
            int vx = scale->x + scale->width / 2 + 4, vy = scale->y + 9;
            window_.mouse(WM_MOUSEMOVE, vx, vy);
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
        ++frames;
        if (next < steps.size()) steps[next++](editor);
        ASSERT_LT(frames, 40) << "the editor did not end";
    });
    EXPECT_TRUE(window_.asked.empty());  // saved before quitting: nothing to ask

    // What the editor wrote, read back on its own.
    engine::Engine saved;
    ui::attachNodeClasses(saved.factory);
    ASSERT_TRUE(saved.loadProject("demo.vorn", false, ""));
    auto* reader = dynamic_cast<nodes::ImageNode_Reader*>(saved.findNode("2D_ImgReader 1"));
    ASSERT_NE(reader, nullptr);
    EXPECT_EQ(reader->filename, "picture.png");
    EXPECT_EQ(saved.findNode("Viewer 1")->inputs[0], reader);
    ASSERT_EQ(saved.tracksByNode["2D_ImgReader 1"].size(), 1u);
    const auto& keys = saved.tracksByNode["2D_ImgReader 1"][0].keys;
    ASSERT_EQ(keys.size(), 2u);
    EXPECT_EQ(keys[0].value, 1.0f);
    EXPECT_NEAR(keys[1].time, 0.3f, 1e-5);
    EXPECT_EQ(keys[1].value, 0.5f);
    EXPECT_TRUE(fileExists("demo.vorngui"));

    // The player shows the picture: at 0 s the reader fits it to the screen.
    window_.presented.clear();
    window_.escapeAtQuery = 4;
    EXPECT_EQ(app::runShow(window_), 0);
    ASSERT_GE(window_.presented.size(), 3u);
    EXPECT_EQ(window_.presented.back(), (std::array<Rgba, 4>{kRed, kGreen, kBlue, kWhite}));
}

}  // namespace
}  // namespace vorn::test
