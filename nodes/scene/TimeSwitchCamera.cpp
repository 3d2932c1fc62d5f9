#include "nodes/scene/TimeSwitchCamera.h"

#include "engine/Engine.h"

#include <cstdlib>

namespace vorn::nodes {

Transform3DNode_TimeSwitch::Transform3DNode_TimeSwitch(engine::Engine& owner, std::string name)
    : Transform3DNode(owner, std::move(name)) {
    setInputCount(1);
    inputNames[0] = "Matrix";
    static constexpr const char* kLetters[kWindowCount] = {"A", "B", "C", "D"};
    for (int k = 0; k < kWindowCount; ++k) {
        owner.addString(*this, std::string("Start ") + kLetters[k], &startTexts[k], "0");
        owner.addString(*this, std::string("Stop ") + kLetters[k], &stopTexts[k], "0");
    }
}

bool Transform3DNode_TimeSwitch::acceptsInput(int32_t, const engine::Node& source) const {
    return source.kind() == engine::NodeKind::Transform;
}

bool Transform3DNode_TimeSwitch::process() {
    engine::Node* input = getInput(0);
    if (input && input->kind() == engine::NodeKind::Transform)
        if (auto* transform = dynamic_cast<engine::Transform3DNode*>(input)) matrix = transform->matrix;
    return true;
}

bool Transform3DNode_TimeSwitch::evaluate() {
    const float t = owner->time;
    // atof: an empty or non-numeric text counts as 0.
    for (int k = 0; k < kWindowCount; ++k)
        windows[k] = {float(std::atof(startTexts[k].c_str())), float(std::atof(stopTexts[k].c_str()))};

    bool active = false;
    for (const Window& window : windows) {
        if (!(window.stop - window.start > 0.0f)) continue;
        if (window.start <= t && t <= window.stop) {
            active = true;
            break;
        }
    }
    const bool result = active && getInput(0) ? Node::evaluate() : false;
    evaluated = true;
    return result;
}

}  // namespace vorn::nodes
