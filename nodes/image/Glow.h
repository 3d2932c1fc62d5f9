// "Glow": adds a blurred copy of the input ("Input"), optionally weighted by a
// mask picture ("Mask"), on top of the input. The blur runs in two separable
// passes (horizontal, then vertical) through two half-size targets; a third
// pass adds it, scaled by "Intensity", to the input in the full-size output.
//
// The passes draw the quad mirrored top to bottom (projectionMatrix flips y);
// the shared vertex stage takes its coordinates from the texel each vertex
// lands on, so every pass, the mask and the input's placement stay upright and
// aligned with each other, whatever texture matrix the inputs carry.
#pragma once

#include "nodes/image/ImageNode.h"
#include "render/GL_FrameBuffer.h"
#include "render/ShaderProgram.h"

#include <memory>

namespace vorn::nodes {

class ImageNode_Glow : public ImageNode {
public:
    ImageNode_Glow(engine::Engine& owner, std::string name);
    ~ImageNode_Glow() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // Parameters, in registration order.
    float radius = 10.0f;
    float intensity = 1.0f;
    float mask = 0.0f;

    render::ShaderProgram blurShader;
    render::ShaderProgram glowCompose;

private:
    std::unique_ptr<render::GL_FrameBuffer> blurTarget1_;  // 960 x 540, horizontal pass
    std::unique_ptr<render::GL_FrameBuffer> blurTarget2_;  // 960 x 540, vertical pass
    std::unique_ptr<render::GL_FrameBuffer> output_;       // slot 0
};

}  // namespace vorn::nodes
