#include "nodes/image/Transform2D.h"

#include "engine/Engine.h"

namespace vorn::nodes {

ImageNode_Transform2D::ImageNode_Transform2D(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)) {
    setInputCount(1);
    inputNames[0] = "Image";
    owner.addVec2(*this, "Position", position, {0.5f, 0.5f}, engine::Vec2Style::Position);
    owner.addVec2(*this, "Scale", scale, {1.0f, 1.0f}, engine::Vec2Style::Position);
}

bool ImageNode_Transform2D::acceptsInput(int32_t index, const engine::Node& source) const {
    return isImageNode(&source);
}

bool ImageNode_Transform2D::process() {
    render::Mat4 input = render::identityMatrix();
    // Without an input the borrowed images are dropped: the node that owned
    // them may be gone, and a consumer must not sample a deleted texture.
    images = {};
    if (ImageNode* source = imageInput(*this, 0)) {
        input = source->textureMatrix;
        images = source->images;
    }
    textureMatrix = transform2DMatrix(input, position, scale);
    return true;
}

render::Mat4 transform2DMatrix(const render::Mat4& input, const float position[2], const float scale[2]) {
    render::Mat4 scaled = render::matrixProduct(
        render::scaleMatrix(scale[0], scale[1], 1.0f),
        render::translationMatrix(0.5f - position[0], 0.5f - position[1], 0.0f));
    return render::matrixProduct(input, scaled);
}

}  // namespace vorn::nodes
