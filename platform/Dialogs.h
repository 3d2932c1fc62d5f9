// The user questions and pickers of the editor: a message box with OK and
// Cancel, and an open-file dialog. Both block until answered.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vorn::platform {

// Shows the text under the caption with OK and Cancel; true only for OK.
// Where no box can be shown the answer is Cancel (reported as one line).
bool askOkCancel(std::string_view caption, std::string_view text);

struct OpenFileRequest {
    std::string filterName = "All";  // shown to the user
    std::string pattern = "*.*";     // the files listed
    bool changeDirectory = false;    // make the chosen file's folder the working directory
};

// Lets the user pick an existing file. The path comes back with "\" as its
// separator, as every path text of the system is written. Nothing when the
// user cancels or no dialog program (zenity) is installed.
std::optional<std::string> openFileDialog(const OpenFileRequest& request);

}  // namespace vorn::platform
