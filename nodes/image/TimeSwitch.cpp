#include "nodes/image/TimeSwitch.h"

#include "engine/Engine.h"

#include <cstdlib>

namespace vorn::nodes {

ImageNode_TimeSwitch::ImageNode_TimeSwitch(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)) {
    setInputCount(1);
    inputNames[0] = "Image";
    static constexpr const char* kLetters[kWindowCount] = {"A", "B", "C", "D"};
    for (int k = 0; k < kWindowCount; ++k) {
        owner.addString(*this, std::string("Start ") + kLetters[k], &startTexts[k], k == 0 ? "0" : "");
        owner.addString(*this, std::string("Stop ") + kLetters[k], &stopTexts[k], "");
    }
}

bool ImageNode_TimeSwitch::acceptsInput(int32_t, const engine::Node& source) const {
    return isImageNode(&source);
}

bool ImageNode_TimeSwitch::process() {
    if (owner->drawingEnabled != 1) return true;
    if (hidden) {
        images = {};
    } else if (ImageNode* input = imageInput(*this, 0)) {
        textureMatrix = input->textureMatrix;
        images = input->images;
    }
    return true;
}

bool ImageNode_TimeSwitch::evaluate() {
    const float t = owner->time;
    // atof: an empty or non-numeric text counts as 0.
    for (int k = 0; k < kWindowCount; ++k)
        windows[k] = {float(std::atof(startTexts[k].c_str())), float(std::atof(stopTexts[k].c_str()))};

    hidden = false;
    bool active = false;
    for (const Window& window : windows) {
        if (!(window.stop - window.start > 0.0f)) continue;
        if (window.start <= t && t <= window.stop) {
            hidden = false;
            active = true;
            break;
        }
        hidden = true;
        images = {};
    }

    bool result = false;
    if (active && getInput(0)) {
        result = Node::evaluate();
    } else {
        // Nothing is passed through this frame, so nothing borrowed is kept:
        // the input may since have been deleted or have replaced its images.
        images = {};
    }
    evaluated = true;
    return result;
}

}  // namespace vorn::nodes
