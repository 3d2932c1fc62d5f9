#include "nodes/scene/CameraNode.h"

namespace vorn::nodes {

CameraNode* cameraInput(const engine::Node& node, int index) {
    engine::Node* input = node.getInput(index);
    if (!input || input->kind() != engine::NodeKind::Camera) return nullptr;
    return dynamic_cast<CameraNode*>(input);
}

}  // namespace vorn::nodes
