#include "ui/TimeTexts.h"

#include <cstdio>
#include <sstream>

namespace vorn::ui {

std::string timeText(float seconds) {
    int whole = int(seconds);
    int minutes = int(seconds / 60.0f);
    int secondsInMinute = whole % 60;
    int milliseconds = int((seconds - float(whole)) * 1000.0f);
    char text[64];
    std::snprintf(text, sizeof text, "%02d:%02d:%03d", minutes, secondsInMinute, milliseconds);
    return text;
}

std::string frameTimeText(float seconds) {
    if (seconds < 0.0001f) return "no FPS data";
    std::ostringstream text;
    text << seconds * 1000.0f << "ms (" << int(1.0f / seconds) << ")";
    return text.str();
}

}  // namespace vorn::ui
