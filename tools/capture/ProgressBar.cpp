#include "tools/capture/ProgressBar.h"

#include <algorithm>
#include <cmath>

namespace vorn::capture {

namespace {
constexpr int kBarWidth = 30;
}

ProgressBar::ProgressBar(int64_t total, std::FILE* out, bool interactive)
    : total_(total), out_(out), interactive_(interactive) {}

std::string ProgressBar::line(int64_t done, int64_t total, double seconds) {
    double fraction = total > 0 ? double(done) / double(total) : 1.0;
    int filled = std::clamp(int(fraction * kBarWidth), 0, kBarWidth);
    std::string bar = "[" + std::string(std::size_t(filled), '#') + std::string(std::size_t(kBarWidth - filled), '-') + "]";
    double fps = seconds > 0.0 ? double(done) / seconds : 0.0;
    char tail[128];
    if (fps > 0.0) {
        long left = std::lround(double(total - done) / fps);
        std::snprintf(tail, sizeof tail, " %lld/%lld frames  %.1f fps  %ld:%02ld left", (long long)done,
                      (long long)total, fps, left / 60, left % 60);
    } else {
        std::snprintf(tail, sizeof tail, " %lld/%lld frames", (long long)done, (long long)total);
    }
    return bar + tail;
}

void ProgressBar::update(int64_t done, double seconds) {
    if (interactive_) {
        // Ten redraws a second are plenty, and the last frame always shows.
        if (done < total_ && lastDrawn_ >= 0.0 && seconds - lastDrawn_ < 0.1) return;
        lastDrawn_ = seconds;
        std::fprintf(out_, "\r%s\033[K", line(done, total_, seconds).c_str());
    } else {
        int64_t tenth = total_ > 0 ? done * 10 / total_ : 10;
        if (tenth <= lastTenth_) return;
        lastTenth_ = tenth;
        std::fprintf(out_, "%s\n", line(done, total_, seconds).c_str());
    }
    std::fflush(out_);
}

void ProgressBar::finish(double seconds) {
    if (interactive_) std::fputc('\n', out_);
    std::fflush(out_);
}

}  // namespace vorn::capture
