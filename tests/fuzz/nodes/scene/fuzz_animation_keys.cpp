// Arbitrary animation-key files: the keys must stay within the reader's
// bounds (never more than a gap's worth of frames per line, never more than
// its whole limit), whatever frame numbers the file promises.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "nodes/scene/AnimationKeys.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::size_t echoed = 0;
    nodes::AnimationKeys read =
        nodes::readAnimationKeys(text, "fuzz.txt", [&](std::string_view line) { echoed += line.size(); });
    std::size_t lines = 1;
    for (char c : text) lines += c == '\n';
    if (read.keys.size() > nodes::kMaxFrames) std::abort();
    if (read.keys.size() > lines * std::size_t(nodes::kMaxGapFrames)) std::abort();
    if (read.diagnostics.size() > 2) std::abort();
    return 0;
}
