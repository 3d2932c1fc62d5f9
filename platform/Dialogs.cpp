#include "platform/Dialogs.h"

#include "platform/Debug.h"
#include "platform/Paths.h"
#include "platform/Process.h"
#include "platform/TextEncoding.h"

#include <SDL2/SDL.h>

#include <algorithm>

namespace vorn::platform {

bool askOkCancel(std::string_view caption, std::string_view text) {
    // The message box wants UTF-8.
    std::string title = latin1ToUtf8(caption);
    std::string message = latin1ToUtf8(text);
    const SDL_MessageBoxButtonData buttons[] = {
        {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, 1, "OK"},
        {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, 0, "Cancel"},
    };
    SDL_MessageBoxData box{};
    box.flags = SDL_MESSAGEBOX_INFORMATION;
    box.window = SDL_GL_GetCurrentWindow();
    box.title = title.c_str();
    box.message = message.c_str();
    box.numbuttons = 2;
    box.buttons = buttons;
    int pressed = 0;
    if (SDL_ShowMessageBox(&box, &pressed) != 0) {
        debugLine("cannot show the question \"" + std::string(text) + "\": " + SDL_GetError());
        return false;
    }
    return pressed == 1;
}

std::optional<std::string> openFileDialog(const OpenFileRequest& request) {
    // "*.*" means every file on Windows, but would hide names without a dot here.
    std::string pattern = request.pattern == "*.*" ? "*" : request.pattern;
    std::vector<std::string> arguments = {"--file-selection", "--file-filter=" + request.filterName + " | " + pattern};
    auto output = runProgram("zenity", arguments);
    if (!output) {
        debugLine("no file dialog available (zenity is not installed)");
        return std::nullopt;
    }
    std::string path = output->standardOutput;
    while (!path.empty() && (path.back() == '\n' || path.back() == '\r')) path.pop_back();
    if (output->exitStatus != 0 || path.empty()) return std::nullopt;
    if (request.changeDirectory) {
        std::size_t slash = path.find_last_of('/');
        if (slash != std::string::npos) changeDirectory(slash == 0 ? "/" : path.substr(0, slash));
    }
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace vorn::platform
