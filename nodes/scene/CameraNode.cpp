#include "nodes/scene/CameraNode.h"

#include <cmath>

namespace vorn::nodes {

render::Mat4 perspectiveMatrix(float fovDegrees, float aspect, float nearClip, float farClip) {
    const float f = 1.0f / std::tan(fovDegrees * 3.14159265f / 360.0f);
    render::Mat4 m{};
    m[0] = f / aspect;
    m[5] = f;
    m[10] = -(farClip + nearClip) / (farClip - nearClip);
    m[11] = -1.0f;
    m[14] = -2.0f * farClip * nearClip / (farClip - nearClip);
    return m;
}

CameraNode* cameraInput(const engine::Node& node, int index) {
    engine::Node* input = node.getInput(index);
    if (!input || input->kind() != engine::NodeKind::Camera) return nullptr;
    return dynamic_cast<CameraNode*>(input);
}

}  // namespace vorn::nodes
