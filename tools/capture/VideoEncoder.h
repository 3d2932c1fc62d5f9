// The optional video of a capture: raw RGB frames piped into ffmpeg, which
// encodes them (H.264, yuv420p) and muxes in the project's music from the
// first frame's time.
#pragma once

#include "platform/ProgramPipe.h"

#include <memory>
#include <string>
#include <vector>

namespace vorn::capture {

// ffmpeg's arguments; music may be empty (a silent video).
std::vector<std::string> ffmpegArguments(int width, int height, double fps, double from, const std::string& music,
                                         const std::string& output);

class VideoEncoder {
public:
    // Null when ffmpeg cannot be started (reported).
    static std::unique_ptr<VideoEncoder> start(int width, int height, double fps, double from,
                                               const std::string& music, const std::string& output);
    bool addFrame(const std::vector<uint8_t>& rgb) { return pipe_->write(rgb.data(), rgb.size()); }
    // Ends the stream; true when ffmpeg finished without error.
    bool finish() { return pipe_->finish() == 0; }

private:
    explicit VideoEncoder(std::unique_ptr<platform::ProgramPipe> pipe) : pipe_(std::move(pipe)) {}
    std::unique_ptr<platform::ProgramPipe> pipe_;
};

}  // namespace vorn::capture
