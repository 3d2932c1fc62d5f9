// "3D_Primitive": one procedural mesh, a flat square "Plane" spanning -1..1 in
// x and y at z = 0, facing +z, with adjustable texture-coordinate offset and
// repeat. Translate, rotate and a two-axis scale place it through modelMatrix;
// the material on the input becomes the plane object's own material.
//
// The mesh is rebuilt only when "UV Offset" or "UV Repeat" moves; every other
// setting is applied per frame without touching GL objects.
#pragma once

#include "nodes/scene/GeometryNode.h"

#include <array>

namespace vorn::nodes {

class GeometryNode_Primitives : public GeometryNode {
public:
    GeometryNode_Primitives(engine::Engine& owner, std::string name);

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // Parameters, in registration order.
    float translate[3] = {0, 0, 0};
    float rotate[3] = {0, 0, 0};  // degrees
    float scaleX = 1.0f;
    float scaleY = 1.0f;
    float uvOffset[2] = {0, 0};
    float uvRepeat[2] = {1, 1};

private:
    void buildPlane();

    std::array<float, 2> builtUvOffset_{};
    std::array<float, 2> builtUvRepeat_{};
};

}  // namespace vorn::nodes
