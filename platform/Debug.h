// The diagnostic channel: every failure report and log line of the system goes
// here, and from here to stderr. Callers pass whole lines ending in "\n" or
// pieces that together form one; nothing is buffered or reformatted.
// Tests install a DebugCapture to read what was written.
#pragma once

#include <string>
#include <string_view>

namespace vorn::platform {

// Writes the text as it stands (no newline added).
void debugOutput(std::string_view text);

// Writes one diagnostic line: the text with any line breaks inside it folded
// into spaces, followed by "\n". For messages built from outside text
// (compiler logs, file names) that must not break the one-line rule.
void debugLine(std::string_view text);

// While alive, collects everything written to the channel (it is still
// forwarded to stderr). Not nestable; meant for tests.
class DebugCapture {
public:
    DebugCapture();
    ~DebugCapture();
    DebugCapture(const DebugCapture&) = delete;
    DebugCapture& operator=(const DebugCapture&) = delete;

    const std::string& text() const { return captured_; }
    bool contains(std::string_view needle) const { return captured_.find(needle) != std::string::npos; }
    void clear() { captured_.clear(); }

private:
    friend void debugOutput(std::string_view);
    std::string captured_;
};

}  // namespace vorn::platform
