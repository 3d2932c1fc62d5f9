// "Camera_Hover": a look-at camera set by parameters, with a procedural
// wiggle. Eye and target lie on a scaled plan ("Position" and "Center" in the
// horizontal plane, "View Height" and "Center Height" vertically), both moved
// sideways by "Pan"; "Wiggle" and "WiggleSpeed" shake the eye (and a fifth as
// much the target) along the sideways and vertical axes over time. The
// projection is a fixed 16:9 perspective from 0.1 to 10000 with the "FOV"
// parameter; the base fov field stays 60.
#pragma once

#include "nodes/scene/CameraNode.h"

namespace vorn::nodes {

class CameraNode_HoverCamera : public CameraNode {
public:
    CameraNode_HoverCamera(engine::Engine& owner, std::string name);

    bool process() override;

    float hoverFov = 60.0f;  // degrees, "FOV"
    float position[2] = {0.0f, -1.0f};
    float viewHeight = 0.0f;
    float center[2] = {0.0f, 0.0f};
    float centerHeight = 0.0f;
    float scale = 2.0f;
    float pan = 0.0f;
    float wiggle = 0.0f;
    float wiggleSpeed = 0.0f;
};

}  // namespace vorn::nodes
