// Arbitrary camera-path files: the frames must stay within the reader's
// bounds (never more than a gap's worth of frames per line, never more than
// its whole limit), whatever frame numbers the file promises.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "nodes/scene/CameraFrames.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    nodes::CameraFrames read = nodes::readCameraFrames(text, "fuzz.txt");
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (read.frames.size() > nodes::kMaxFrames) std::abort();
    if (read.frames.size() > lines * std::size_t(nodes::kMaxGapFrames)) std::abort();
    if (read.diagnostics.size() > 2) std::abort();
    return 0;
}
