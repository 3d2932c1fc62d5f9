// "Sequencer": of up to ten inputs, shows the last one whose start time (a
// text of milliseconds, "Start 00" for input 0 ... "Start 09" for input 9) the
// engine time has reached, and evaluates only that one. "Start 10" ...
// "Start 19" are kept and saved but select nothing.
//
// The start times are parsed while processing, after the input has been
// chosen, so an edited start time moves the selection one frame later, while
// the picture copied in the same frame already follows it. The node renders
// nothing: its slots borrow the shown input's images; its texture matrix stays
// the identity.
#pragma once

#include "nodes/image/ImageNode.h"

#include <array>
#include <string>

namespace vorn::nodes {

class ImageNode_Sequence : public ImageNode {
public:
    static constexpr int kInputCount = 10;
    static constexpr int kStartTextCount = 20;

    ImageNode_Sequence(engine::Engine& owner, std::string name);

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;
    bool evaluate() override;

    // The input evaluate shows at the engine time with the start times parsed
    // last; -1 when none.
    int selectedInput() const;

    // Parameters "Start 00" ... "Start 19" (milliseconds as text).
    std::array<std::string, kStartTextCount> startTexts;
    // Seconds, parsed at each processing step (0 before the first).
    std::array<float, kInputCount> startTimes{};
};

}  // namespace vorn::nodes
