#include "engine/PathRelocation.h"

namespace vorn::engine {

namespace {

bool isSeparator(char c) { return c == '/' || c == '\\'; }

}  // namespace

std::string relativeToDirectory(const std::string& text, std::string_view directory) {
    while (!directory.empty() && isSeparator(directory.back())) directory.remove_suffix(1);
    if (directory.empty()) {
        // The root: every absolute path lies inside it.
        return !text.empty() && isSeparator(text.front()) ? "." + text : text;
    }
    if (text.compare(0, directory.size(), directory) != 0) return text;
    if (text.size() > directory.size() && !isSeparator(text[directory.size()])) return text;  // "/a/bc" is not in "/a/b"
    return "." + text.substr(directory.size());
}

}  // namespace vorn::engine
