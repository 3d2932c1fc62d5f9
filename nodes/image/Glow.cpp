#include "nodes/image/Glow.h"

#include "engine/Engine.h"
#include "nodes/image/Glow.vert.glsl.h"
#include "nodes/image/GlowBlur.frag.glsl.h"
#include "nodes/image/GlowCompose.frag.glsl.h"
#include "render/Matrix.h"
#include "render/Quads.h"

#include <algorithm>

namespace vorn::nodes {

namespace {

// Draws the quad mirrored top to bottom.
constexpr render::Mat4 kMirrorProjection = {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};

void setMatrix(const render::ShaderProgram& program, const char* name, const render::Mat4& matrix) {
    glUniformMatrix4fv(render::UniformLocation(program, name), 1, GL_FALSE, matrix.data());
}

void bindTexture(int unit, const render::GL_Image* image) {
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    glBindTexture(GL_TEXTURE_2D, image && !image->textures.empty() ? image->textures[0] : 0);
}

// RenderToFrameBuffer leaves the viewport alone; the half-size blur targets
// need their own, or only a corner of the picture would land in them.
void renderTo(const render::GL_FrameBuffer& target) {
    glViewport(0, 0, target.width, target.height);
    render::RenderToFrameBuffer(target, false);
}

// The blur loop runs about 2.7 x Length steps per pixel: a radius beyond the
// parameter's range (a keyframe or project value) must not stall the GPU.
float blurLength(float radius) { return radius >= 0.0f ? std::min(radius, 1000.0f) : 0.0f; }

}  // namespace

ImageNode_Glow::ImageNode_Glow(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)),
      blurShader("blurShader", glsl_Glow_vert, nullptr, glsl_GlowBlur_frag, {"vertex", "uv"}, 1),
      glowCompose("glowCompose", glsl_Glow_vert, nullptr, glsl_GlowCompose_frag, {"vertex", "uv"}, 1),
      blurTarget1_(std::make_unique<render::GL_FrameBuffer>(960, 540, 1, 16, GL_RGBA, false, false)),
      blurTarget2_(std::make_unique<render::GL_FrameBuffer>(960, 540, 1, 16, GL_RGBA, false, false)),
      output_(std::make_unique<render::GL_FrameBuffer>(1920, 1080, 1, 16, GL_RGBA, false, false)) {
    setInputCount(2);
    inputNames[0] = "Input";
    inputNames[1] = "Mask";
    owner.addFloat(*this, "Radius", &radius, 0.0f, 1000.0f, 2, 10.0f, true);
    owner.addFloat(*this, "Intensity", &intensity, 0.0f, 10.0f, 2, 1.0f, true);
    owner.addFloat(*this, "Mask", &mask, 0.0f, 1.0f, 2, 0.0f, true);
    images[0] = output_.get();

    glUseProgram(blurShader.program);
    setMatrix(blurShader, "projectionMatrix", kMirrorProjection);
    glUniform1i(render::UniformLocation(blurShader, "Source"), 0);
    glUniform1i(render::UniformLocation(blurShader, "Intensity"), 1);
    glUseProgram(glowCompose.program);
    setMatrix(glowCompose, "projectionMatrix", kMirrorProjection);
    glUniform1i(render::UniformLocation(glowCompose, "image"), 0);
    glUniform1i(render::UniformLocation(glowCompose, "blurImage"), 1);
    glUseProgram(0);
    hasError = !blurShader.valid || !glowCompose.valid;
}

ImageNode_Glow::~ImageNode_Glow() = default;

bool ImageNode_Glow::acceptsInput(int32_t index, const engine::Node& source) const {
    return (index == 0 || index == 1) && isImageNode(&source);
}

bool ImageNode_Glow::process() {
    if (owner->drawingEnabled != 1) return true;
    glDisable(GL_BLEND);
    ImageNode* inputNode = imageInput(*this, 0);
    ImageNode* maskNode = imageInput(*this, 1);
    render::GL_Image* input = inputNode ? inputNode->images[0] : nullptr;
    render::GL_Image* maskImage = maskNode ? maskNode->images[0] : nullptr;

    glUseProgram(blurShader.program);
    if (input) setMatrix(blurShader, "textureMatrix_Input[0]", inputNode->textureMatrix);
    if (maskImage) setMatrix(blurShader, "textureMatrix_Input[1]", maskNode->textureMatrix);
    // Full-resolution steps, although the blur targets are half size.
    glUniform2f(render::UniformLocation(blurShader, "ng_sampleSize"), 1.0f / 1920.0f, 1.0f / 1080.0f);
    glUniform1f(render::UniformLocation(blurShader, "Length"), blurLength(radius));
    glUniform1f(render::UniformLocation(blurShader, "Mask"), mask);

    // Horizontal pass: the input through its matrix, into blur target 1.
    glUniform2f(render::UniformLocation(blurShader, "Direction"), 1.0f, 0.0f);
    bindTexture(1, maskImage);
    bindTexture(0, input);
    renderTo(*blurTarget1_);

    // Vertical pass. Blur target 1 already holds the picture in frame
    // coordinates, so it is sampled without the input's matrix.
    glUniform2f(render::UniformLocation(blurShader, "Direction"), 0.0f, 1.0f);
    setMatrix(blurShader, "textureMatrix_Input[0]", render::identityMatrix());
    bindTexture(0, blurTarget1_.get());
    renderTo(*blurTarget2_);

    glUseProgram(glowCompose.program);
    if (input) setMatrix(glowCompose, "textureMatrix_Input[0]", inputNode->textureMatrix);
    bindTexture(1, blurTarget2_.get());
    bindTexture(0, input);
    glUniform1f(render::UniformLocation(glowCompose, "blurIntensity"), intensity);
    renderTo(*output_);
    glUseProgram(0);
    return true;
}

}  // namespace vorn::nodes
