// Animation-key files: a path of positions, one per frame at 60 frames a
// second, that "3D_ObjReader" follows with its translation. Each line holds a
// frame number and ten numbers (FrameLines.h), of which the first three are
// x, y, z in the exporter's z-up world. Bytes in, keys out; no GL, no engine.
#pragma once

#include "nodes/scene/FrameLines.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::nodes {

struct AnimationKey {
    int32_t frame = 0;
    std::array<float, 3> position{};  // (x, -z, -y) of the numbers read
};

struct AnimationKeys {
    std::vector<AnimationKey> keys;
    std::vector<std::string> diagnostics;  // one line each, without line end
};

// Where each line read is echoed ("frame: x y z" as read); null for nowhere.
using KeyEcho = std::function<void(std::string_view)>;

// Keys are appended in file order. A line whose frame number is 0 or less, or
// one more than the keys so far, is one key. A frame number below the count
// drops the line; a larger one appends (number - count + 1) keys carrying that
// number, blended from the last key's position to the line's (the last of
// them is the line's own position).
AnimationKeys readAnimationKeys(std::string_view content, std::string_view path, const KeyEcho& echo);

// The file through platform::readFile; nothing when it cannot be read (why in whyNot).
std::optional<AnimationKeys> loadAnimationKeys(std::string_view path, const KeyEcho& echo, std::string* whyNot);

}  // namespace vorn::nodes
