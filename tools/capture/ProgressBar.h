// Capture progress on stderr: frames done, frames per second and time left.
// On a terminal one line is redrawn in place; otherwise a line is written
// every tenth of the way, so logs stay short.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

namespace vorn::capture {

class ProgressBar {
public:
    ProgressBar(int64_t total, std::FILE* out, bool interactive);

    // After each frame; seconds is the time spent since the first.
    void update(int64_t done, double seconds);
    void finish(double seconds);

    // "[####------] 12/120 frames  24.0 fps  0:04 left"
    static std::string line(int64_t done, int64_t total, double seconds);

private:
    int64_t total_;
    std::FILE* out_;
    bool interactive_;
    double lastDrawn_ = -1.0;
    int64_t lastTenth_ = 0;
};

}  // namespace vorn::capture
