// "Combine Geometry": the objects of up to six geometry inputs as one node.
// Each input's placement is baked into its objects' matrices and its material
// into those that carry none; the node's own material is the first connected
// input's that is set. The result is placed by Translate, Rotate and Scale,
// with the rotation and translation scaled and offset by numbers typed as
// text (read with the C library's atof every frame; no number reads as 0):
//
//   T(tsc · Translate + (tx, ty, tz)) · Rx(rx + mrx · Rotate.X) · Ry(...) · Rz(...) · S(Scale)
//
// The copies borrow the inputs' GL objects (sharesObjects) and are rebuilt
// every frame, so input changes show in the same frame.
#pragma once

#include "nodes/scene/GeometryNode.h"

#include <string>

namespace vorn::nodes {

class GeometryNode_CombineGeometry : public GeometryNode {
public:
    static constexpr int kInputs = 6;

    GeometryNode_CombineGeometry(engine::Engine& owner, std::string name);

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // Parameters, in registration order.
    float translate[3] = {0, 0, 0};
    float rotate[3] = {0, 0, 0};  // degrees
    float scale = 1.0f;
    std::string mrx, mry, mrz;  // multipliers of Rotate
    std::string rx, ry, rz;     // degrees added to the rotations
    std::string tx, ty, tz;     // added to the translation
    std::string tsc;            // multiplier of Translate
};

}  // namespace vorn::nodes
