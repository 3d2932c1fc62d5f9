// Saved projects are relocatable: a text that names something inside the
// working directory by its absolute path is stored relative to it ("." in place
// of the directory), so the project keeps its music and images when the folder
// moves to another place or machine. Readers resolve "." against their own
// working directory.
#pragma once

#include <string>
#include <string_view>

namespace vorn::engine {

// text with a leading directory (followed by "/", "\" or the end of the text)
// replaced by "."; any other text unchanged.
std::string relativeToDirectory(const std::string& text, std::string_view directory);

}  // namespace vorn::engine
