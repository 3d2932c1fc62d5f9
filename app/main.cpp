// The player's entry point, for now only its window: full screen (or an
// ordinary window with --windowed), cleared to black every frame, until Escape
// is pressed or the window is closed.
#include "platform/GlWindow.h"
#include "platform/WindowMessages.h"

#include <GL/glew.h>

#include <cstring>

using namespace vorn::platform;

int main(int argc, char** argv) {
    bool windowed = argc > 1 && std::strcmp(argv[1], "--windowed") == 0;
    auto window = GlWindow::create(windowed ? WindowMode::Windowed : WindowMode::FullScreen);
    if (!window) return 1;

    for (;;) {
        // Escape first, so it ends the show even while messages keep arriving.
        if (asyncKeyState(VK_ESCAPE)) break;
        WindowMessage message;
        if (peekMessage(message)) {
            if (message.message == WM_QUIT) break;
            if (message.message == WM_CLOSE) postQuitMessage(0);
            continue;
        }
        glClearColor(0.0f, 0.0f, 0.0f, 1.0f);
        glClear(GL_COLOR_BUFFER_BIT);
        window->swapBuffers();
    }
    return 0;
}
