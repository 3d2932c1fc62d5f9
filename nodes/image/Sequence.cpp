#include "nodes/image/Sequence.h"

#include "engine/Engine.h"

#include <cstdio>
#include <cstdlib>

namespace vorn::nodes {

ImageNode_Sequence::ImageNode_Sequence(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)) {
    setInputCount(kInputCount);
    for (int k = 0; k < kStartTextCount; ++k) {
        char label[16];
        std::snprintf(label, sizeof label, "Start %02d", k);
        owner.addString(*this, label, &startTexts[k], "0");
    }
}

bool ImageNode_Sequence::acceptsInput(int32_t, const engine::Node& source) const { return isImageNode(&source); }

bool ImageNode_Sequence::process() {
    if (owner->drawingEnabled != 1) return true;
    // atof: an empty or non-numeric text counts as 0.
    for (int k = 0; k < kInputCount; ++k) startTimes[k] = float(std::atof(startTexts[k].c_str())) / 1000.0f;

    const float t = owner->time;
    for (int k = 0; k < kInputCount; ++k) {
        if (!getInput(k) || !(t >= startTimes[k])) continue;
        // The last input that has started wins.
        if (ImageNode* input = imageInput(*this, k)) images = input->images;
    }
    return true;
}

int ImageNode_Sequence::selectedInput() const {
    const float t = owner->time;
    int selected = -1;
    for (int k = 0; k < kInputCount; ++k)
        if (getInput(k) && t >= startTimes[k]) selected = k;
    return selected;
}

bool ImageNode_Sequence::evaluate() {
    int selected = selectedInput();
    if (selected < 0) {
        // Nothing is shown: drop what was borrowed, the inputs that owned it
        // may since have been deleted.
        images = {};
        evaluated = true;
        return true;
    }
    Node* input = getInput(selected);
    if (!input->skipEvaluation && !input->evaluated) input->evaluate();
    process();
    render();
    evaluated = true;
    return true;
}

}  // namespace vorn::nodes
