#include "app/Shell.h"

#include "ui/UI_Engine.h"

namespace vorn::app {

void windowProcedure(ShellIo& io, const platform::WindowMessage& message) {
    if (message.message == platform::WM_CLOSE) io.postQuitMessage(0);
    ui::handleWindowMessage(message.message, message.wParam, message.lParam);
}

void runFrameLoop(ShellIo& io, ui::Player& player) {
    for (;;) {
        // Before the messages, so Escape ends the show even while they keep coming.
        if (io.escapePressed()) return;
        platform::WindowMessage message;
        if (io.takeMessage(message)) {
            if (message.message == platform::WM_QUIT) return;
            windowProcedure(io, message);
            continue;
        }
        player.renderFrame();
        io.swapBuffers();
        if (player.showIsOver()) return;
    }
}

int runShow(ShellIo& io) {
    ui::Player player(io.createAudio(), [&io](const std::string& text, const std::string& caption) {
        return io.askOkCancel(caption, text);
    });
    player.showLoadingFrame([&io] { io.swapBuffers(); });
    // A missing file leaves an empty scene; the show goes on regardless.
    player.loadProject(ui::Player::kProjectFile);
    runFrameLoop(io, player);
    return 0;
}

}  // namespace vorn::app
