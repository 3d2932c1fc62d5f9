#include "engine/Node.h"

#include <algorithm>

namespace vorn::engine {

Node::Node(Engine& owner, std::string name) : owner(&owner), name(std::move(name)) {}

Node::~Node() = default;

bool Node::evaluate() {
    bool result = true;
    for (Node* input : inputs)
        if (input && !input->skipEvaluation && !input->evaluated) result = input->evaluate() && result;
    // Both steps run whatever the inputs returned; nothing stops on false.
    bool processed = process();
    bool rendered = render();
    evaluated = true;
    return result && processed && rendered;
}

void Node::setInputCount(int32_t n) {
    inputCount = std::max(n, 0);
    inputs.assign(std::size_t(inputCount), nullptr);
    inputNames.resize(std::size_t(inputCount));
    for (int32_t i = 0; i < inputCount; ++i) inputNames[std::size_t(i)] = "input" + std::to_string(i);
}

Node* Node::getInput(int32_t index) const {
    if (index < 0 || index >= inputCount) return nullptr;
    return inputs[std::size_t(index)];
}

bool Node::removeOutput(const Node* node) {
    auto kept = std::remove(outputs.begin(), outputs.end(), node);
    bool removed = kept != outputs.end();
    outputs.erase(kept, outputs.end());
    return removed;
}

}  // namespace vorn::engine
