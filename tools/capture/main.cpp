// vorn-capture: renders a production offline, frame by frame, exactly as the
// player would show it, into PNG files (and optionally a video).
#include "platform/Debug.h"
#include "tools/capture/Capture.h"
#include "tools/capture/CaptureOptions.h"

#include <cstdio>

int main(int argc, char** argv) {
    using namespace vorn;
    std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    auto options = capture::parseCaptureOptions(arguments, &error);
    if (!options) {
        platform::debugLine("vorn-capture: " + error + " (try --help)");
        return 2;
    }
    if (options->help) {
        std::fputs(capture::kCaptureUsage, stdout);
        return 0;
    }
    return capture::runCapture(*options);
}
