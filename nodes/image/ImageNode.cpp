#include "nodes/image/ImageNode.h"

namespace vorn::nodes {

bool isImageNode(const engine::Node* node) { return node && node->kind() == engine::NodeKind::Image; }

ImageNode* imageInput(const engine::Node& node, int index) {
    engine::Node* input = node.getInput(index);
    if (!isImageNode(input)) return nullptr;
    // Every kind-1 class derives from ImageNode; the check keeps a stray one harmless.
    return dynamic_cast<ImageNode*>(input);
}

}  // namespace vorn::nodes
