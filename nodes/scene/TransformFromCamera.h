// "3D_TransformFromCamera": the objects and material of the geometry node on
// input "Geometry", placed by the view of the camera on input "Camera" (the
// camera's view times the geometry's placement), so a renderer shows them
// fixed to that camera. The object records are copied anew every frame from
// the input just evaluated; their GL objects belong to the input. Without a
// geometry input the node has no objects. "Scale" is stored with the
// production and not applied.
#pragma once

#include "nodes/scene/GeometryNode.h"

namespace vorn::nodes {

class Transform3DNode_FromCamera : public GeometryNode {
public:
    Transform3DNode_FromCamera(engine::Engine& owner, std::string name);

    // A geometry node on input 0, a camera on input 1.
    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    float scale[3] = {1.0f, 1.0f, 1.0f};
};

}  // namespace vorn::nodes
