// The diagnostic channel: every failure report and log line of the system goes
// here, and from here to stderr. Callers pass whole lines ending in "\n" or
// pieces that together form one; nothing is buffered or reformatted.
// Tests install a DebugCapture to read what was written.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace vorn::platform {

// Writes the text as it stands (no newline added).
void debugOutput(std::string_view text);

// Writes one diagnostic line: the text with line breaks and other control
// characters inside it folded into spaces, followed by "\n". For messages
// built from outside text (compiler logs, file names) that must not break the
// one-line rule or drive the terminal.
void debugLine(std::string_view text);

// A name from outside (a path, a node or type name) as a diagnostic shows it:
// when longer than maxChars, its middle gives way to "..." so that the start
// and the end (the file name) stay readable. UTF-8 sequences are not split.
std::string shortenMiddle(std::string_view text, std::size_t maxChars = 160);

// From now on nothing reaches stderr (captures still collect). For fuzz
// targets, which would otherwise print a line for nearly every input.
void silenceDiagnostics();

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
