#include "nodes/scene/Material.h"

namespace vorn::nodes {

const Material* materialInput(const engine::Node& node, int index) {
    engine::Node* input = node.getInput(index);
    if (!input || input->kind() != engine::NodeKind::Material) return nullptr;
    auto* materialNode = dynamic_cast<MaterialNode*>(input);
    return materialNode ? materialNode->getMaterial() : nullptr;
}

}  // namespace vorn::nodes
