// "Viewer": the output node that draws its input picture, through the input's
// texture matrix, into the render target it was given (the UI's target, from
// which the UI presents it). Without a target it draws nothing.
#pragma once

#include "engine/Node.h"
#include "render/GL_FrameBuffer.h"
#include "render/ShaderProgram.h"

namespace vorn::ui {

class UI_ViewerNode : public engine::OutputNode {
public:
    UI_ViewerNode(engine::Engine& owner, std::string name, render::GL_FrameBuffer* target);
    ~UI_ViewerNode() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool nameInputs() override;
    bool process() override { return true; }
    bool render() override { return true; }
    void present() override;

    render::ShaderProgram viewerShader;
    render::GL_FrameBuffer* viewerTarget = nullptr;  // not owned
};

}  // namespace vorn::ui
