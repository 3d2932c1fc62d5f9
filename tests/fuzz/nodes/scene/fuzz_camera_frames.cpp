// Any camera-path file: whatever frame numbers it promises, the frames stay
// within a gap's worth of frames per line and the reader's whole limit.
#include <algorithm>
#include <cstdlib>

#include "nodes/scene/CameraFrames.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    nodes::CameraFrames read = nodes::readCameraFrames(text, "fuzz.txt");
    std::size_t lines = 1 + std::count(text.begin(), text.end(), '\n');
    if (read.frames.size() > std::min<std::size_t>(nodes::kMaxFrames, lines * std::size_t(nodes::kMaxGapFrames))) std::abort();
    if (read.diagnostics.size() > 2) std::abort();
    return 0;
}
