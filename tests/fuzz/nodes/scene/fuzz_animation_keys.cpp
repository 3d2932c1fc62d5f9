// Any animation-key file: whatever frame numbers it promises, the keys stay
// within a gap's worth of frames per line and the reader's whole limit.
#include <algorithm>
#include <cstdlib>

#include "nodes/scene/AnimationKeys.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t echoed = 0;
    nodes::AnimationKeys read =
        nodes::readAnimationKeys(text, "fuzz.txt", [&](std::string_view line) { echoed += line.size(); });
    std::size_t lines = 1 + std::count(text.begin(), text.end(), '\n');
    if (read.keys.size() > std::min<std::size_t>(nodes::kMaxFrames, lines * std::size_t(nodes::kMaxGapFrames))) std::abort();
    if (read.diagnostics.size() > 2) std::abort();
    return 0;
}
