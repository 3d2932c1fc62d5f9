#include "ui/UI_ViewerNode.h"

#include "nodes/image/ImageNode.h"
#include "render/Quads.h"
#include "ui/viewer.frag.glsl.h"
#include "ui/viewer.vert.glsl.h"

namespace vorn::ui {

UI_ViewerNode::UI_ViewerNode(engine::Engine& owner, std::string name, render::GL_FrameBuffer* target)
    : OutputNode(owner, std::move(name)),
      viewerShader("viewerShader", glsl_viewer_vert, nullptr, glsl_viewer_frag, {"vertex", "uv"}, 1),
      viewerTarget(target) {
    setInputCount(1);
    nameInputs();
}

UI_ViewerNode::~UI_ViewerNode() = default;

bool UI_ViewerNode::acceptsInput(int32_t index, const engine::Node& source) const {
    return index == 0 && nodes::isImageNode(&source);
}

bool UI_ViewerNode::nameInputs() {
    inputNames[0] = "Image";
    return true;
}

void UI_ViewerNode::present() {
    if (!viewerTarget) return;
    glBindFramebuffer(GL_FRAMEBUFFER, viewerTarget->framebuffer);
    render::SetDrawBuffers(*viewerTarget);
    // The whole target, whatever size the node drawn last left the viewport at.
    glViewport(0, 0, viewerTarget->width, viewerTarget->height);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    nodes::ImageNode* input = nodes::imageInput(*this, 0);
    if (!input) {
        glUseProgram(0);
    } else {
        glEnable(GL_BLEND);
        glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
        // A program that failed to build has been reported; the target stays cleared.
        if (viewerShader.program) {
            glUseProgram(viewerShader.program);
            glUniform1i(render::UniformLocation(viewerShader, "tex"), 0);
            glUniformMatrix4fv(render::UniformLocation(viewerShader, "textureMatrix"), 1, GL_FALSE,
                               input->textureMatrix.data());
            if (input->images[0]) render::DrawImageQuad(*input->images[0]);
        }
        glUseProgram(0);
        glDisable(GL_BLEND);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

}  // namespace vorn::ui
