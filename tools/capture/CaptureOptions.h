// The command line of vorn-capture:
//   vorn-capture PROJECT.vorn --out DIR [--from S] [--to S] [--fps N] [--video FILE.mp4]
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace vorn::capture {

struct CaptureOptions {
    std::string project;
    std::string outDir;
    double from = 0.0;
    double to = 10.0;
    double fps = 60.0;
    std::string video;  // empty: no video
    bool sync = false;  // drive Rocket tracks live from a tracker on this machine
    bool help = false;
};

// The options, or nothing with the reason in *error (one line, no newline).
std::optional<CaptureOptions> parseCaptureOptions(const std::vector<std::string>& arguments, std::string* error);

extern const char kCaptureUsage[];

}  // namespace vorn::capture
