// What the editor needs from outside itself, replaceable in tests: the OK /
// Cancel question, the file picker of the import, the tracker program of the
// Rocket button and the clock of the save stamps. Defaults reach the platform.
#pragma once

#include <ctime>
#include <functional>
#include <optional>
#include <string>

namespace vorn::ui::editor {

struct EditorServices {
    // The text asked under the caption "VORN"; true for OK.
    std::function<bool(const std::string& text)> confirm;
    // A ".vorn" file to import, or nothing when the user cancels.
    std::function<std::optional<std::string>()> pickProject;
    // The tracker the Rocket button starts (resolved as every path is).
    std::string trackerProgram = ".\\rocketEditor\\editor";
    std::function<std::tm()> localTime;

    // Missing entries filled with the platform's message box, file dialog and clock.
    static EditorServices withDefaults(EditorServices services);
};

}  // namespace vorn::ui::editor
