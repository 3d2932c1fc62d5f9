#include "nodes/scene/FrameLines.h"

#include "nodes/scene/TextScan.h"


namespace vorn::nodes {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f'; }

}  // namespace

std::optional<FrameLine> parseFrameLine(std::string_view line) {
    const char* p = line.data();
    const char* end = p + line.size();
    auto skipSpace = [&] {
        while (p < end && isSpace(*p)) ++p;
    };
    skipSpace();
    if (p == end) return std::nullopt;

    FrameLine out;
    for (int field = 0; field < 11; ++field) {
        skipSpace();
        const char* stop =
            field == 0 ? text::parseInt(p, end, out.frame) : text::parseFloat(p, end, out.values[field - 1]);
        if (!stop) return std::nullopt;
        p = stop;
        // One separator of any kind; the line's end stands in for the last.
        if (p < end) ++p;
        else if (field < 10) return std::nullopt;
    }
    skipSpace();
    if (p != end) return std::nullopt;
    return out;
}

void reportFrameFileProblems(const FrameFileProblems& problems, std::string_view path,
                             std::vector<std::string>& diagnostics) {
    auto plural = [](std::size_t n, const char* one, const char* many) {
        return std::to_string(n) + " " + (n == 1 ? one : many);
    };
    if (problems.unreadable)
        diagnostics.push_back(std::string(path) + ": " +
                              plural(problems.unreadable, "line", "lines") +
                              " not of a frame number and ten numbers skipped, the first at line " +
                              std::to_string(problems.firstUnreadable));
    if (problems.tooFar)
        diagnostics.push_back(std::string(path) + ": " + plural(problems.tooFar, "line", "lines") +
                              " whose frame number lies more than " + std::to_string(kMaxGapFrames) +
                              " frames ahead, or beyond " + std::to_string(kMaxFrames) +
                              " frames, skipped, the first at line " + std::to_string(problems.firstTooFar));
}

}  // namespace vorn::nodes
