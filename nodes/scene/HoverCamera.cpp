#include "nodes/scene/HoverCamera.h"

#include "engine/Engine.h"

#include <cmath>

namespace vorn::nodes {

namespace {

using render::Vec3;

// Zero stays zero rather than becoming NaN (an eye on its target).
Vec3 normalized(const Vec3& v) {
    float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) return {0, 0, 0};
    return {v[0] / length, v[1] / length, v[2] / length};
}

float wave(float x) { return std::sin(std::cos(0.25f * x) + x - 10.0f * std::sin(0.05f * x)); }

}  // namespace

CameraNode_HoverCamera::CameraNode_HoverCamera(engine::Engine& owner, std::string name)
    : CameraNode(owner, std::move(name)) {
    owner.addFloat(*this, "FOV", &hoverFov, 0.0f, 180.0f, 1, 60.0f, false);
    owner.addVec2(*this, "Position", position, {0.0f, -1.0f}, engine::Vec2Style::Direction);
    owner.addFloat(*this, "View Height", &viewHeight, -1.0f, 1.0f, 2, 0.0f, false);
    owner.addVec2(*this, "Center", center, {0.0f, 0.0f}, engine::Vec2Style::Direction);
    owner.addFloat(*this, "Center Height", &centerHeight, -1.0f, 1.0f, 2, 0.0f, false);
    owner.addFloat(*this, "Scale", &scale, 0.0f, 100.0f, 2, 2.0f, true);
    owner.addFloat(*this, "Wiggle", &wiggle, -1.0f, 1.0f, 2, 0.0f, true);
    owner.addFloat(*this, "WiggleSpeed", &wiggleSpeed, -3.0f, 3.0f, 2, 0.0f, true);
    owner.addFloat(*this, "Pan", &pan, -20.0f, 20.0f, 2, 0.0f, true);
    owner.addFloat(*this, "Aspect Ratio", &aspect, 0.1f, 5.0f, 4, 1.7777778f, true);
}

bool CameraNode_HoverCamera::process() {
    const float t = owner->time;
    const float s = scale;
    const float w = wiggle;
    const float x1 = wiggleSpeed * t;
    const float x2 = wiggleSpeed * (t - 0.5f);

    // The eye's height is negated and the target's is not; productions are framed so.
    const Vec3 eye0{s * position[0], -s * viewHeight, s * position[1]};
    const Vec3 target0{s * center[0], s * centerHeight, s * center[1]};
    const Vec3 d = normalized({eye0[0] - target0[0], eye0[1] - target0[1], eye0[2] - target0[2]});
    const Vec3 side = normalized({d[2], 0.0f, -d[0]});

    const float a = wave(x1);
    const float b = wave(x2);
    Vec3 eye, target;
    for (int k = 0; k < 3; ++k) {
        const float up = k == 1 ? 1.0f : 0.0f;
        eye[k] = eye0[k] + pan * side[k] + w * a * side[k] + w * std::cos(x1) * up;
        target[k] = target0[k] + pan * side[k] + 0.2f * w * (b * side[k] + std::cos(x2) * up);
    }
    viewMatrix = render::lookAtMatrix(eye, target, {0.0f, 1.0f, 0.0f});

    // Near 0.1 and far 10000 at a constant 16:9, with the depth terms rounded as stored.
    projectionMatrix = perspectiveMatrix(hoverFov, 1.7777778f, 0.1f, 10000.0f);
    projectionMatrix[10] = -1.00002f;
    projectionMatrix[14] = -0.200002f;
    return true;
}

}  // namespace vorn::nodes
