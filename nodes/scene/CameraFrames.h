// Camera-path files, one frame per line as an exporter writes them: a frame
// number, the camera's position (x, y, z in the exporter's z-up world), three
// further numbers and three angles in radians, and one unused number
// (FrameLines.h). Read into the frames "Camera_Blender" steps through. Bytes
// in, frames out; no GL, no engine.
#pragma once

#include "nodes/scene/FrameLines.h"

#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::nodes {

struct CameraFrame {
    std::array<float, 3> position{};  // (-c1, c3, c2) of the numbers read
    std::array<float, 3> further{};   // c4, c5, c6: kept, not used
    std::array<float, 3> angles{};    // degrees: (c7 - pi/2), -c9, -c8
};

struct CameraFrames {
    std::vector<CameraFrame> frames;
    std::vector<std::string> diagnostics;  // one line each, without line end
};

// Frames are appended in file order. The first line, a line numbered 0 or
// less, and a line numbered one more than the frames so far are one frame; a
// number at or below the count drops the line; a larger one appends frames up
// to that number, all with the line's angles and further numbers, their
// positions blended from the last frame's to the line's.
CameraFrames readCameraFrames(std::string_view content, std::string_view path);

// The file through platform::readFile; nothing when it cannot be read (why in whyNot).
std::optional<CameraFrames> loadCameraFrames(std::string_view path, std::string* whyNot);

}  // namespace vorn::nodes
