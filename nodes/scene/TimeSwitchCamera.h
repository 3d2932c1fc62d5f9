// "Time Switch Camera": a transform node that is active only inside up to four
// time windows (A to D, texts of seconds, each closed at both ends) and
// evaluates its input only then, taking over the input transform's matrix.
// Outside every window it evaluates nothing and keeps its last matrix.
//
// A window counts only when its stop lies after its start; windows are tried
// in order A, B, C, D and the first that contains the engine time wins.
#pragma once

#include "engine/Node.h"

#include <array>
#include <string>

namespace vorn::nodes {

class Transform3DNode_TimeSwitch : public engine::Transform3DNode {
public:
    static constexpr int kWindowCount = 4;

    Transform3DNode_TimeSwitch(engine::Engine& owner, std::string name);

    // A transform node, on the one input "Matrix".
    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;
    // The input's evaluation and process while a window holds the engine
    // time; false (and nothing evaluated) otherwise or without an input.
    bool evaluate() override;

    // Parameters "Start A", "Stop A", "Start B" ... "Stop D" (seconds as text).
    std::array<std::string, kWindowCount> startTexts;
    std::array<std::string, kWindowCount> stopTexts;

    struct Window {
        float start = 0.0f;
        float stop = 0.0f;
    };
    std::array<Window, kWindowCount> windows{};  // parsed at each evaluation
};

}  // namespace vorn::nodes
