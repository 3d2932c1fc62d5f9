// The editor's clock and frame-time labels.
#pragma once

#include <string>

namespace vorn::ui {

// "mm:ss:mmm" of a time in seconds.
std::string timeText(float seconds);
// "<ms>ms (<fps>)" of an update's duration, or "no FPS data" below 0.1 ms.
std::string frameTimeText(float seconds);

}  // namespace vorn::ui
