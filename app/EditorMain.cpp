// The editor: run on a production (a ".vorn" file, by default "demo.vorn" in
// the current folder, or a new one), it opens the 1920x1080 window with the
// editor's panels around the player's picture. --windowed keeps the display
// mode and opens an ordinary window.
#include "app/EditorShell.h"
#include "app/PlatformShellIo.h"
#include "platform/Debug.h"
#include "platform/GlWindow.h"
#include "platform/Paths.h"

#include <cstdio>
#include <cstring>
#include <string>

namespace {

const char kUsage[] =
    "usage: vorn-edit [PROJECT.vorn] [--windowed]\n"
    "Edits a production in its folder: PROJECT.vorn, or demo.vorn in the current folder\n"
    "(a new production when there is none). Ctrl+Q or closing the window ends it.\n"
    "  --windowed  an ordinary 1920x1080 window, no display-mode change\n"
    "  --help      this text\n"
    "Keys: Ctrl+S save, F5 reload, Ctrl+Z revert, Ctrl+O import, Space play/pause, Home rewind,\n"
    "Left/Right step, PageUp/PageDown step size, Tab presentation/editor view, Ctrl+R Rocket,\n"
    "Delete delete the selected node, F1 full-screen picture, F2 back to the panels, Ctrl+Q quit.\n";

}  // namespace

int main(int argc, char** argv) {
    using namespace vorn;
    bool windowed = false;
    std::string project = "demo.vorn";
    bool named = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--windowed") == 0) {
            windowed = true;
        } else if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
            std::fputs(kUsage, stdout);
            return 0;
        } else if (argv[i][0] == '-' || named) {
            platform::debugLine(std::string("vorn-edit: unknown option ") + argv[i] + " (try --help)");
            return 2;
        } else {
            project = argv[i];
            named = true;
        }
    }
    // The production's folder is the working directory, as the player's is.
    std::size_t slash = project.find_last_of("/\\");
    if (slash != std::string::npos) {
        std::string folder = slash == 0 ? "/" : project.substr(0, slash);
        if (!platform::changeDirectory(folder)) {
            platform::debugLine("vorn-edit: cannot enter the folder " + folder);
            return 2;
        }
        project = project.substr(slash + 1);
    }

    auto window = platform::GlWindow::create(windowed ? platform::WindowMode::Windowed
                                                      : platform::WindowMode::FullScreen);
    if (!window) return 1;
    app::PlatformShellIo io(*window);
    return app::runEditor(io, project);
}
