// The line format shared by animation-key and camera-path files: a frame
// number and ten numbers, each field followed by one separator character (a
// comma or a blank) and any blanks, one frame per line. Exporters write
// them; the readers of AnimationKeys.h and CameraFrames.h give them meaning.
#pragma once

#include "nodes/scene/TextScan.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::nodes {

struct FrameLine {
    int32_t frame = 0;
    std::array<float, 10> values{};
};

// The line's fields, or nothing when the line does not hold them (a blank
// line, a missing or unreadable field, text after the last field).
std::optional<FrameLine> parseFrameLine(std::string_view line);

// A frame file never grows beyond these: a gap in the frame numbers is
// filled with at most kMaxGapFrames frames, and the whole list stops at
// kMaxFrames (over four hours at 60 frames a second).
inline constexpr int64_t kMaxGapFrames = 100000;
inline constexpr std::size_t kMaxFrames = 1000000;

// What a frame-file reader skipped, for its one diagnostic line per kind.
struct FrameFileProblems {
    std::size_t unreadable = 0, firstUnreadable = 0;  // lines not in the format
    std::size_t tooFar = 0, firstTooFar = 0;          // frame numbers whose gap is too long
    void addUnreadable(std::size_t line) {
        if (unreadable++ == 0) firstUnreadable = line;
    }
    void addTooFar(std::size_t line) {
        if (tooFar++ == 0) firstTooFar = line;
    }
};

// Calls take(line, lineNumber) for every line of content in the format; the
// others, blank lines aside, are counted in problems.
template <class Take>
void forEachFrameLine(std::string_view content, FrameFileProblems& problems, Take take) {
    text::LineReader lines(content);
    std::string_view line;
    while (lines.next(line)) {
        if (std::optional<FrameLine> read = parseFrameLine(line)) take(*read, lines.number());
        else if (!text::trimBlanks(line).empty()) problems.addUnreadable(lines.number());
    }
}

// Appends the lines that report problems (none when there were none).
void reportFrameFileProblems(const FrameFileProblems& problems, std::string_view path,
                             std::vector<std::string>& diagnostics);

}  // namespace vorn::nodes
