#include "tools/capture/CaptureOptions.h"

#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vorn::capture {

const char kCaptureUsage[] =
    "usage: vorn-capture PROJECT.vorn --out DIR [--from S] [--to S] [--fps N] [--video FILE.mp4] [--sync]\n"
    "Renders the project as the player shows it, one PNG per frame (DIR/frame_000000.png ...),\n"
    "for the times from S up to but not including the --to time, at N frames per second.\n"
    "  --from S    first frame time in seconds (default 0)\n"
    "  --to S      end time in seconds, not rendered (default 10)\n"
    "  --fps N     frames per second (default 60)\n"
    "  --video F   also encode the frames with the project's music into F (needs ffmpeg)\n"
    "  --sync      take Rocket tracks live from a tracker on this machine (port 1338)\n";

namespace {

// Longest show a capture may cover: positions are whole milliseconds in 32 bits.
constexpr double kLongestTime = 4000000.0;
constexpr double kMostFramesPerSecond = 1000.0;

std::optional<double> parseNumber(const std::string& text) {
    if (text.empty()) return std::nullopt;
    char* end = nullptr;
    errno = 0;
    double value = std::strtod(text.c_str(), &end);
    if (errno != 0 || end != text.c_str() + text.size() || !std::isfinite(value)) return std::nullopt;
    return value;
}

}  // namespace

std::optional<CaptureOptions> parseCaptureOptions(const std::vector<std::string>& arguments, std::string* error) {
    CaptureOptions options;
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return std::nullopt;
    };
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        if (argument == "--help" || argument == "-h") {
            options.help = true;
            return options;
        }
        if (argument == "--sync") {
            options.sync = true;
            continue;
        }
        bool takesValue = argument == "--out" || argument == "--from" || argument == "--to" ||
                          argument == "--fps" || argument == "--video";
        if (takesValue) {
            if (i + 1 >= arguments.size()) return fail(argument + " needs a value");
            const std::string& value = arguments[++i];
            if (argument == "--out") {
                options.outDir = value;
            } else if (argument == "--video") {
                options.video = value;
            } else {
                std::optional<double> number = parseNumber(value);
                if (!number) return fail(argument + " needs a number, not \"" + value + "\"");
                (argument == "--from" ? options.from : argument == "--to" ? options.to : options.fps) = *number;
            }
        } else if (argument.size() > 1 && argument[0] == '-') {
            return fail("unknown option " + argument);
        } else if (options.project.empty()) {
            options.project = argument;
        } else {
            return fail("more than one project given: " + argument);
        }
    }
    if (options.project.empty()) return fail("no project file given");
    if (options.outDir.empty()) return fail("no output folder given (--out DIR)");
    if (options.fps <= 0.0 || options.fps > kMostFramesPerSecond) return fail("--fps must be above 0 and at most 1000");
    if (options.from < 0.0) return fail("--from must not be negative");
    if (options.to > kLongestTime) return fail("--to must be at most 4000000 seconds");
    if (options.to <= options.from) return fail("--to must be later than --from");
    return options;
}

}  // namespace vorn::capture
