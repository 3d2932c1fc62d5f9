#include "app/EditorShell.h"

#include "ui/UI_Engine.h"

namespace vorn::app {

void runEditorLoop(ShellIo& io, ui::editor::Editor& editor, const EditorFrameHook& afterFrame) {
    for (;;) {
        platform::WindowMessage message;
        if (io.takeMessage(message)) {
            if (message.message == platform::WM_QUIT) return;
            // Closing asks first; the editor ends only on the answer.
            if (message.message == platform::WM_CLOSE) editor.requestQuit();
            else ui::handleWindowMessage(message.message, message.wParam, message.lParam);
            if (editor.quitRequested()) return;
            continue;
        }
        editor.renderFrame();
        io.swapBuffers();
        if (afterFrame) afterFrame(editor);
        if (editor.quitRequested()) return;
    }
}

int runEditor(ShellIo& io, const std::string& projectFile, const EditorFrameHook& afterFrame) {
    ui::Player player(io.createAudio(), [&io](const std::string& text, const std::string& caption) {
        return io.askOkCancel(caption, text);
    });
    player.showLoadingFrame([&io] { io.swapBuffers(); });
    ui::editor::EditorServices services;
    services.confirm = [&io](const std::string& text) { return io.askOkCancel("VORN", text); };
    ui::editor::Editor editor(player, services);
    editor.open(projectFile);
    runEditorLoop(io, editor, afterFrame);
    return 0;
}

}  // namespace vorn::app
