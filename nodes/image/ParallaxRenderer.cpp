#include "nodes/image/ParallaxRenderer.h"

#include "engine/Engine.h"
#include "nodes/image/Glow.vert.glsl.h"
#include "nodes/image/GlowBlur.frag.glsl.h"
#include "nodes/image/ParallaxCompose.frag.glsl.h"
#include "nodes/image/ParallaxCompose.vert.glsl.h"
#include "nodes/image/ParallaxComposeDodge.frag.glsl.h"
#include "platform/Debug.h"
#include "platform/FileLimits.h"
#include "platform/Paths.h"
#include "render/ImageFile.h"
#include "render/Quads.h"

#include <algorithm>

namespace vorn::nodes {

namespace {

constexpr int kWidth = 1920;
constexpr int kHeight = 1080;
constexpr int kFloatsPerQuad = 16;

// The blur is drawn mirrored top to bottom, as the glow node's is.
constexpr render::Mat4 kMirrorProjection = {1, 0, 0, 0, 0, -1, 0, 0, 0, 0, -1, 0, 0, 0, 0, 1};

std::unique_ptr<render::GL_FrameBuffer> target(int textures) {
    return std::make_unique<render::GL_FrameBuffer>(kWidth, kHeight, textures, 16, GL_RGBA, false, false);
}

void bindTarget(const render::GL_FrameBuffer& target) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    render::SetDrawBuffers(target);
}

void clearTarget(const render::GL_FrameBuffer& target, const float colour[4]) {
    bindTarget(target);
    glClearColor(colour[0], colour[1], colour[2], colour[3]);
    glClear(GL_COLOR_BUFFER_BIT);
}

// Both pictures of one accumulation target into the other, attachment by attachment.
void copyTarget(const render::GL_FrameBuffer& from, const render::GL_FrameBuffer& to) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from.framebuffer);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to.framebuffer);
    for (GLenum attachment : {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1}) {
        glReadBuffer(attachment);
        glDrawBuffer(attachment);
        glBlitFramebuffer(0, 0, kWidth, kHeight, 0, 0, kWidth, kHeight, GL_COLOR_BUFFER_BIT, GL_LINEAR);
    }
    glReadBuffer(GL_COLOR_ATTACHMENT0);
    bindTarget(to);
}

void setBlend(LayerBlend blend) {
    if (blend == LayerBlend::Over) glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA);
    else glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
}

// A radius beyond the parameter's range (a key or a stored value) is held to
// it: the blur runs about 2.7 x its length steps per pixel.
float radiusInRange(float radius) { return radius >= 0.0f ? std::min(radius, 1000.0f) : 0.0f; }

std::string sceneParameter(const char* label, int n) { return label + std::to_string(n) + ":"; }

}  // namespace

ImageNode_2DParallaxRenderer::LayerUniforms::LayerUniforms(GLuint program)
    : textureMatrix(program, "textureMatrix"),
      alpha(program, "alpha"),
      neonIntensity(program, "neonIntensity"),
      maskedEffectIntensity(program, "maskedEffectIntensity") {}

ImageNode_2DParallaxRenderer::ImageNode_2DParallaxRenderer(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)),
      compose("compose", glsl_ParallaxCompose_vert, nullptr, glsl_ParallaxCompose_frag, {"vertex", "uv"}, 2),
      composeDodge("composeDodge", glsl_ParallaxCompose_vert, nullptr, glsl_ParallaxComposeDodge_frag,
                   {"vertex", "uv"}, 2),
      blurShader("blurShader", glsl_Glow_vert, nullptr, glsl_GlowBlur_frag, {"vertex", "uv"}, 1),
      composeUniforms_(compose.program),
      dodgeUniforms_(composeDodge.program),
      accumulation_{target(2), target(2)},
      blurTarget1_(target(1)),
      blurTarget2_(target(1)),
      output_(target(1)) {
    setInputCount(1);
    inputNames[0] = "Masked FX";
    owner.addFloat(*this, "Global Offset", &globalOffset, -10.0f, 10.0f, 3, 0.0f, true);
    owner.addFloat(*this, "Global Time Stretch", &globalTimeStretch, 0.0f, 2.0f, 3, 1.0f, true);
    owner.addFloat(*this, "Global Alpha", &globalAlpha, 0.0f, 1.0f, 3, 1.0f, true);
    owner.addFloat(*this, "FX Intensity", &fxIntensity, 0.0f, 1.0f, 3, 0.0f, true);
    owner.addFloat(*this, "Glow:Radius", &glowRadius, 0.0f, 1000.0f, 2, 10.0f, true);
    owner.addFloat(*this, "GlowIntensity", &glowIntensity, 0.0f, 10.0f, 2, 1.0f, true);
    owner.addFloat(*this, "Glow:Mask", &glowMask, 0.0f, 1.0f, 2, 1.0f, true);
    for (int n = 1; n <= kParallaxSceneCount; ++n) {
        owner.addString(*this, sceneParameter(".scn File ", n), &sceneFiles[n - 1], "");
        owner.addFloat(*this, sceneParameter("Start Time ", n), &startTimes[n - 1], 0.0f, 10000.0f, 3, 0.0f, true);
    }
    for (int n = 1; n <= kParallaxSceneCount; ++n) {
        owner.addFloat(*this, sceneParameter(".scn Time Offset ", n), &timeOffsets[n - 1], -5.0f, 5.0f, 3, 0.0f,
                       true);
        owner.addFloat(*this, sceneParameter(".scn Time Stretch ", n), &timeStretches[n - 1], 0.0f, 2.0f, 3, 1.0f,
                       true);
    }
    owner.addVec4(*this, "Background", background, {0.0f, 0.0f, 0.0f, 1.0f});
    loadedNames_.fill("NOINIT");
    images[0] = output_.get();

    glUseProgram(compose.program);
    glUniform1i(render::UniformLocation(compose, "image"), 0);
    glUniform1i(render::UniformLocation(compose, "neon"), 1);
    glUniform1i(render::UniformLocation(compose, "maskedEffect"), 2);
    glUseProgram(composeDodge.program);
    glUniform1i(render::UniformLocation(composeDodge, "image"), 0);
    glUniform1i(render::UniformLocation(composeDodge, "neon"), 1);
    glUniform1i(render::UniformLocation(composeDodge, "maskedEffect"), 2);
    glUniform1i(render::UniformLocation(composeDodge, "background"), 3);
    glUniform1i(render::UniformLocation(composeDodge, "backgroundNeon"), 4);
    glUseProgram(blurShader.program);
    glUniform1i(render::UniformLocation(blurShader, "Source"), 0);
    glUniform1i(render::UniformLocation(blurShader, "Intensity"), 1);
    const render::Mat4 identity = render::identityMatrix();
    glUniformMatrix4fv(render::UniformLocation(blurShader, "textureMatrix_Input[0]"), 1, GL_FALSE, identity.data());
    glUniformMatrix4fv(render::UniformLocation(blurShader, "textureMatrix_Input[1]"), 1, GL_FALSE, identity.data());
    glUniformMatrix4fv(render::UniformLocation(blurShader, "projectionMatrix"), 1, GL_FALSE, kMirrorProjection.data());
    glUseProgram(0);
    hasError = !compose.valid || !composeDodge.valid || !blurShader.valid;

    // Layer quads: (x, y, u, v) vertices, laid out for "vertex" and "uv".
    glGenVertexArrays(1, &layerArray_);
    glGenBuffers(1, &layerBuffer_);
    glBindVertexArray(layerArray_);
    glBindBuffer(GL_ARRAY_BUFFER, layerBuffer_);
    glEnableVertexAttribArray(render::kAttribVertex);
    glVertexAttribPointer(render::kAttribVertex, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glEnableVertexAttribArray(render::kAttribUv);
    glVertexAttribPointer(render::kAttribUv, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                          reinterpret_cast<const void*>(2 * sizeof(float)));
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);

    // The output is shown before any scene has played: make it defined.
    const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    clearTarget(*output_, transparent);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

ImageNode_2DParallaxRenderer::~ImageNode_2DParallaxRenderer() {
    glDeleteBuffers(1, &layerBuffer_);
    glDeleteVertexArrays(1, &layerArray_);
}

bool ImageNode_2DParallaxRenderer::acceptsInput(int32_t index, const engine::Node& source) const {
    return index == 0 && isImageNode(&source);
}

bool ImageNode_2DParallaxRenderer::process() {
    loadScenes();
    if (owner->drawingEnabled != 1) return true;

    ImageNode* fxNode = imageInput(*this, 0);
    const render::GL_Image* fx = fxNode ? fxNode->images[0] : nullptr;
    const render::Mat4 fxMatrix = fx ? fxNode->textureMatrix : render::identityMatrix();

    const float sceneTime = (owner->time - globalOffset) * globalTimeStretch;
    std::array<bool, kParallaxSceneCount> hasLayers{};
    for (int n = 0; n < kParallaxSceneCount; ++n) hasLayers[n] = !scenes_[n].empty();
    const int s = selectScene(startTimes, hasLayers, sceneTime);
    // An empty scene draws nothing: the output keeps its last picture.
    if (scenes_[s].empty()) return true;
    const float tau = (sceneTime - timeOffsets[s] - startTimes[s]) * timeStretches[s];

    planLayers(s, tau);
    glViewport(0, 0, kWidth, kHeight);
    drawLayers(fx, fxMatrix);
    drawGlow(s);
    composite(s);
    return true;
}

// ---- Loading

void ImageNode_2DParallaxRenderer::loadScenes() {
    for (int n = 0; n < kParallaxSceneCount; ++n)
        if (sceneFiles[n] != loadedNames_[n]) loadScene(n);
}

void ImageNode_2DParallaxRenderer::loadScene(int n) {
    const std::string& path = sceneFiles[n];
    loadedNames_[n] = path;
    scenes_[n].clear();
    // An empty name is "no scene", not a file to complain about.
    if (path.empty()) return;

    std::string whyNot;
    auto bytes = platform::readFile(path, platform::kMaxSceneFileBytes, &whyNot);
    if (!bytes) {
        platform::debugLine("cannot read scene file " + path + ": " + whyNot);
        return;
    }
    SceneFileRead read = readSceneFile(*bytes);
    if (read.damaged)
        platform::debugLine("scene file " + path + " is damaged at byte " + std::to_string(read.damageOffset) + ": " +
                            read.problem + "; the layers before it are kept");

    std::size_t missing = 0;
    std::string firstMissing;
    for (SceneLayerRecord& record : read.layers) {
        if (record.keys.empty()) continue;
        const std::string imageName = layerImageName(record.name);
        const std::string file = ".\\Graphics\\" + imageName;
        const render::GL_MemTexture* image = picture(file);
        // Exported names sometimes lose the last letter of ".png".
        if (!image) image = picture(file + "g");
        if (!image) {
            if (missing++ == 0) firstMissing = file;
            continue;
        }
        Layer layer;
        layer.image = image;
        layer.neon = isNeonName(imageName) ? image : nullptr;
        layer.mask = isScreenMaskName(imageName) ? 1.0f : 0.0f;
        layer.mode = record.mode;
        layer.keys = std::move(record.keys);
        scenes_[n].push_back(std::move(layer));
    }
    if (missing > 0)
        platform::debugLine("scene file " + path + ": " + std::to_string(missing) +
                            (missing == 1 ? " layer has" : " layers have") + " no picture and " +
                            (missing == 1 ? "is" : "are") + " left out (first: " + firstMissing + ")");
}

// Cache misses are decoded premultiplied and kept for the node's life; a
// picture that cannot be loaded is not remembered, so a later load tries again.
const render::GL_MemTexture* ImageNode_2DParallaxRenderer::picture(const std::string& path) {
    if (auto found = pictures_.find(path); found != pictures_.end()) return found->second.get();
    if (!platform::fileExists(path)) return nullptr;
    render::LoadedImage image = render::LoadImageFile(path, true);
    if (image.pixels.empty()) return nullptr;
    auto texture = std::make_unique<render::GL_MemTexture>(image.width, image.height,
                                                           image.channels == 3 ? GL_RGB : GL_RGBA,
                                                           GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, image.pixels.data());
    return pictures_.emplace(path, std::move(texture)).first->second.get();
}

// ---- Drawing

// The frame's layers in drawing order (last in the file first) and their
// quads, one after another in the vertex list. Layers that would not show
// (no opacity) are left out: drawing them would change no pixel.
void ImageNode_2DParallaxRenderer::planLayers(int scene, float tau) {
    draws_.clear();
    vertices_.clear();
    const std::vector<Layer>& layers = scenes_[scene];
    for (auto layer = layers.rbegin(); layer != layers.rend(); ++layer) {
        LayerPlacement place = placeLayer(layer->keys, tau);
        const float a = place.opacity * globalAlpha;
        if (!(a > 0.0f) || !layer->image) continue;
        draws_.push_back({&*layer, layerBlend(layer->mode, scene), a});
        const float quad[kFloatsPerQuad] = {place.left,  place.y0, 0.0f, 0.0f, place.right, place.y0, 1.0f, 0.0f,
                                            place.right, place.y1, 1.0f, 1.0f, place.left,  place.y1, 0.0f, 1.0f};
        vertices_.insert(vertices_.end(), quad, quad + kFloatsPerQuad);
    }
}

void ImageNode_2DParallaxRenderer::bindUnit(int unit, GLuint texture) {
    if (boundTextures_[unit] == texture) return;
    boundTextures_[unit] = texture;
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    glBindTexture(GL_TEXTURE_2D, texture);
}

void ImageNode_2DParallaxRenderer::drawLayers(const render::GL_Image* fx, const render::Mat4& fxMatrix) {
    // Both accumulation targets start empty; the first also gets the background.
    const float transparent[4] = {0.0f, 0.0f, 0.0f, 0.0f};
    clearTarget(*accumulation_[0], transparent);
    clearTarget(*accumulation_[1], transparent);
    clearTarget(*accumulation_[0], background);
    current_ = 0;

    glEnable(GL_BLEND);
    glUseProgram(compose.program);
    bool dodging = false;
    LayerUniforms* uniforms = &composeUniforms_;
    // Other nodes bind textures too: start from a known state.
    boundTextures_.fill(~GLuint(0));
    for (int unit = 0; unit < 5; ++unit) bindUnit(unit, 0);

    glBindVertexArray(layerArray_);
    glBindBuffer(GL_ARRAY_BUFFER, layerBuffer_);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(vertices_.size() * sizeof(float)), vertices_.data(), GL_STREAM_DRAW);

    const render::Mat4 identity = render::identityMatrix();
    int blendSet = -1;
    for (std::size_t k = 0; k < draws_.size(); ++k) {
        const LayerDraw& draw = draws_[k];
        const Layer& layer = *draw.layer;
        if (draw.blend == LayerBlend::Dodge) {
            // Dodge reads what lies below: it draws, unblended, into a copy of
            // the pictures so far and reads the originals.
            glDisable(GL_BLEND);
            const render::GL_FrameBuffer& below = *accumulation_[current_];
            current_ = 1 - current_;
            copyTarget(below, *accumulation_[current_]);
            if (!dodging) {
                glUseProgram(composeDodge.program);
                uniforms = &dodgeUniforms_;
                dodging = true;
            }
            bindUnit(3, below.textures[0]);
            bindUnit(4, below.textures[1]);
        } else {
            if (dodging) {
                glEnable(GL_BLEND);
                glUseProgram(compose.program);
                uniforms = &composeUniforms_;
                bindUnit(3, 0);
                bindUnit(4, 0);
                dodging = false;
            }
            if (blendSet != int(draw.blend)) {
                setBlend(draw.blend);
                blendSet = int(draw.blend);
            }
        }

        const bool masked = layer.mask > 0.0f && fx;
        uniforms->textureMatrix.setMatrix4(masked ? fxMatrix.data() : identity.data());
        bindUnit(1, layer.neon ? layer.neon->textures[0] : 0);
        bindUnit(2, masked ? fx->textures[0] : 0);
        bindUnit(0, layer.image->textures[0]);
        const float n = layer.neon ? 1.0f : 0.0f;
        const float m = masked ? 1.0f : 0.0f;
        uniforms->alpha.set1f(draw.alpha);
        uniforms->neonIntensity.set1f(n * draw.alpha);
        uniforms->maskedEffectIntensity.set1f(draw.alpha * layer.mask * m * fxIntensity);
        glDrawArrays(GL_TRIANGLE_FAN, GLint(k * 4), 4);
    }

    uniforms->neonIntensity.set1f(0.0f);
    uniforms->maskedEffectIntensity.set1f(0.0f);
    for (int unit = 4; unit >= 0; --unit) bindUnit(unit, 0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glUseProgram(0);
    glDisable(GL_BLEND);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

// The neon picture, blurred across and then down; with "Glow:Mask" at 1 only
// where the neon picture is bright.
void ImageNode_2DParallaxRenderer::drawGlow(int scene) {
    const render::GL_FrameBuffer& drawn = *accumulation_[current_];
    glUseProgram(blurShader.program);
    glUniform2f(render::UniformLocation(blurShader, "ng_sampleSize"), 1.0f / kWidth, 1.0f / kHeight);
    glUniform1f(render::UniformLocation(blurShader, "Length"), glowFactors(scene).length * radiusInRange(glowRadius));
    glUniform1f(render::UniformLocation(blurShader, "Mask"), glowMask);
    glUniform2f(render::UniformLocation(blurShader, "Direction"), 1.0f, 0.0f);
    glActiveTexture(GL_TEXTURE1);
    glBindTexture(GL_TEXTURE_2D, drawn.textures[1]);
    glActiveTexture(GL_TEXTURE0);
    glBindTexture(GL_TEXTURE_2D, drawn.textures[0]);
    render::RenderToFrameBuffer(*blurTarget1_, false);

    glUniform2f(render::UniformLocation(blurShader, "Direction"), 0.0f, 1.0f);
    glBindTexture(GL_TEXTURE_2D, blurTarget1_->textures[0]);
    glUniform1f(render::UniformLocation(blurShader, "Mask"), 0.0f);
    render::RenderToFrameBuffer(*blurTarget2_, false);
    render::UnbindImageTextures(drawn);
}

// The pictures and their glow, screened over the background into the output.
void ImageNode_2DParallaxRenderer::composite(int scene) {
    glEnable(GL_BLEND);
    glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_COLOR);
    glUseProgram(compose.program);
    clearTarget(*output_, background);
    // Whatever the last layer left in the program (a mask's matrix, a mask's
    // strength) must not reach the output.
    composeUniforms_.textureMatrix.setMatrix4(render::identityMatrix().data());
    composeUniforms_.maskedEffectIntensity.set1f(0.0f);
    composeUniforms_.neonIntensity.set1f(0.0f);
    composeUniforms_.alpha.set1f(1.0f);
    render::DrawImageQuad(*accumulation_[current_]);
    composeUniforms_.alpha.set1f(glowFactors(scene).alpha * glowIntensity);
    render::DrawImageQuad(*blurTarget2_);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    glDisable(GL_BLEND);
}

}  // namespace vorn::nodes
