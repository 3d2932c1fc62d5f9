// The player: run in a production's folder, it plays "demo.vorn" full screen
// at 1920x1080 with its music until Escape, a close request or the end of the
// show. --windowed keeps the display mode and opens an ordinary window.
#include "app/PlatformShellIo.h"
#include "app/Shell.h"
#include "platform/Debug.h"
#include "platform/GlWindow.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kUsage[] =
    "usage: vorn [--windowed]\n"
    "Plays demo.vorn from the current folder full screen at 1920x1080 with its music.\n"
    "Escape or closing the window ends the show.\n"
    "  --windowed  an ordinary 1920x1080 window, no display-mode change\n"
    "  --help      this text\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace vorn;
    bool windowed = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--windowed") == 0) {
            windowed = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else {
            platform::debugLine(std::string("vorn: unknown option ") + argv[i] + " (try --help)");
            return 2;
        }
    }

    // The window goes last: after the music, the UI and the engine inside runShow.
    auto window = platform::GlWindow::create(windowed ? platform::WindowMode::Windowed
                                                      : platform::WindowMode::FullScreen);
    if (!window) return 1;
    app::PlatformShellIo io(*window);
    return app::runShow(io);
}
