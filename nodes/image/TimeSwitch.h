// "Time Switch Image": passes its input picture through only inside up to four
// time windows (A to D, texts of seconds, each closed at both ends) and does
// not evaluate the input at all outside them, so a branch that is not shown
// costs nothing. It renders nothing: its slots borrow the input's images.
//
// A window counts only when its stop lies after its start; windows are tried
// in order A, B, C, D and the first that contains the engine time wins.
#pragma once

#include "nodes/image/ImageNode.h"

#include <array>
#include <string>

namespace vorn::nodes {

class ImageNode_TimeSwitch : public ImageNode {
public:
    static constexpr int kWindowCount = 4;

    ImageNode_TimeSwitch(engine::Engine& owner, std::string name);

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;
    // Evaluates the input only while a window contains the engine time;
    // false when it does not (or no input is connected).
    bool evaluate() override;

    struct Window {
        float start = 0.0f;
        float stop = 0.0f;
    };

    // Parameters "Start A", "Stop A", "Start B" ... "Stop D" (seconds as text).
    std::array<std::string, kWindowCount> startTexts;
    std::array<std::string, kWindowCount> stopTexts;

    // Parsed at each evaluation.
    std::array<Window, kWindowCount> windows{};
    bool hidden = false;
};

}  // namespace vorn::nodes
