#include "nodes/image/Compose.h"

#include "engine/Engine.h"
#include "nodes/image/Compose.frag.glsl.h"
#include "nodes/image/Compose.vert.glsl.h"
#include "render/Quads.h"

namespace vorn::nodes {

ImageNode_Compose::ImageNode_Compose(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)),
      composeComb("composeComb", glsl_Compose_vert, nullptr, glsl_Compose_frag, {"vertex", "uv"}, 1),
      target_(std::make_unique<render::GL_FrameBuffer>(1920, 1080, 1, 16, GL_RGBA, false, false)) {
    setInputCount(2);
    inputNames[0] = "A";
    inputNames[1] = "B";
    images[0] = target_.get();

    glUseProgram(composeComb.program);
    glUniform1i(render::UniformLocation(composeComb, "image"), 0);
    glUseProgram(0);
}

ImageNode_Compose::~ImageNode_Compose() = default;

bool ImageNode_Compose::acceptsInput(int32_t, const engine::Node& source) const { return isImageNode(&source); }

bool ImageNode_Compose::process() {
    if (owner->drawingEnabled != 1) return true;
    ImageNode* a = imageInput(*this, 0);
    ImageNode* b = imageInput(*this, 1);
    render::GL_Image* imageA = a ? a->images[0] : nullptr;
    render::GL_Image* imageB = b ? b->images[0] : nullptr;
    if (!target_) return true;

    glBindFramebuffer(GL_FRAMEBUFFER, target_->framebuffer);
    render::SetDrawBuffers(*target_);
    glClearColor(0.0f, 0.0f, 0.0f, 0.0f);
    glClear(GL_COLOR_BUFFER_BIT);

    // The pictures are premultiplied: B's colour already carries its alpha.
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    glUseProgram(composeComb.program);
    if (imageA) render::DrawImageQuad(*imageA);
    if (imageB) render::DrawImageQuad(*imageB);

    glUseProgram(0);
    glDisable(GL_BLEND);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return true;
}

}  // namespace vorn::nodes
