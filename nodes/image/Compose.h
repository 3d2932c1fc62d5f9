// "Compose": input "B" laid over input "A" with premultiplied-alpha over
// blending ("B + A x (1 - B.alpha)"), into the node's own 1920x1080 float
// target, cleared to transparent black every frame. The inputs are drawn as
// their slot images stand: their texture matrices are deliberately not applied,
// so a Transform2D in front of an input does not move it in the composite.
#pragma once

#include "nodes/image/ImageNode.h"
#include "render/GL_FrameBuffer.h"
#include "render/ShaderProgram.h"

#include <memory>

namespace vorn::nodes {

class ImageNode_Compose : public ImageNode {
public:
    ImageNode_Compose(engine::Engine& owner, std::string name);
    ~ImageNode_Compose() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    render::ShaderProgram composeComb;

private:
    std::unique_ptr<render::GL_FrameBuffer> target_;  // slot 0
};

}  // namespace vorn::nodes
