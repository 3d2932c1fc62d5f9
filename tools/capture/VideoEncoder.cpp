#include "tools/capture/VideoEncoder.h"

#include <cstdio>

namespace vorn::capture {

namespace {
std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.6g", value);
    return text;
}
}  // namespace

std::vector<std::string> ffmpegArguments(int width, int height, double fps, double from, const std::string& music,
                                         const std::string& output) {
    std::vector<std::string> arguments = {"-hide_banner", "-loglevel", "error", "-y",
                                          "-f", "rawvideo", "-pix_fmt", "rgb24",
                                          "-s", std::to_string(width) + "x" + std::to_string(height),
                                          "-framerate", number(fps), "-i", "pipe:0"};
    if (!music.empty()) {
        arguments.insert(arguments.end(), {"-ss", number(from), "-i", music, "-map", "0:v:0", "-map", "1:a:0",
                                           "-c:a", "aac", "-shortest"});
    }
    arguments.insert(arguments.end(), {"-c:v", "libx264", "-pix_fmt", "yuv420p", "-crf", "18", output});
    return arguments;
}

std::unique_ptr<VideoEncoder> VideoEncoder::start(int width, int height, double fps, double from,
                                                  const std::string& music, const std::string& output) {
    auto pipe = platform::ProgramPipe::start("ffmpeg", ffmpegArguments(width, height, fps, from, music, output));
    if (!pipe) return nullptr;
    return std::unique_ptr<VideoEncoder>(new VideoEncoder(std::move(pipe)));
}

}  // namespace vorn::capture
