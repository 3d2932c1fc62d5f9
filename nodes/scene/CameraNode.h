// The base of camera nodes (kind 5): a view and a projection matrix and a few
// lens values that renderers read from their camera input after evaluating it.
#pragma once

#include "engine/Node.h"
#include "render/Matrix.h"

namespace vorn::nodes {

class CameraNode : public engine::Node {
public:
    using engine::Node::Node;
    engine::NodeKind kind() const override { return engine::NodeKind::Camera; }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }

    render::Mat4 viewMatrix = render::identityMatrix();
    render::Mat4 projectionMatrix = render::identityMatrix();
    float fov = 60.0f;  // degrees
    float aspect = 1.7777778f;
    float nearClip = 0.1f;  // file camera only
    float farClip = 10000.0f;
};

// P(fov, aspect, near, far): f = 1/tan(fov/2) on x (over aspect) and y,
// depth from -near..-far to -1..1, w = -z.
render::Mat4 perspectiveMatrix(float fovDegrees, float aspect, float nearClip, float farClip);

// Input `index` of node when it is a camera node, else null.
CameraNode* cameraInput(const engine::Node& node, int index);

}  // namespace vorn::nodes
