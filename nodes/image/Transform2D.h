// "2D_Transform": moves and scales its input picture by changing only the
// texture matrix. It renders nothing and owns nothing: its slots borrow the
// input's images for the frame (and are empty while no image is connected).
#pragma once

#include "nodes/image/ImageNode.h"

namespace vorn::nodes {

class ImageNode_Transform2D : public ImageNode {
public:
    ImageNode_Transform2D(engine::Engine& owner, std::string name);

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // Parameters, in registration order.
    float position[2] = {0.5f, 0.5f};
    float scale[2] = {1.0f, 1.0f};
};

// M x S x T: S the scale (scale.x, scale.y, 1), T the translation by
// (0.5 - position.x, 0.5 - position.y, 0).
render::Mat4 transform2DMatrix(const render::Mat4& input, const float position[2], const float scale[2]);

}  // namespace vorn::nodes
