#include "nodes/image/MotionBlur.h"

#include "engine/Engine.h"
#include "nodes/image/MotionBlur.frag.glsl.h"
#include "nodes/image/MotionBlur.vert.glsl.h"
#include "render/Quads.h"

#include <algorithm>
#include <array>

namespace vorn::nodes {

namespace {

constexpr std::array<int, 10> kSampleCounts = {4, 6, 8, 10, 12, 14, 16, 24, 32, 64};

// What the per-sample evaluations move, put back once the samples are done.
struct EngineClock {
    explicit EngineClock(const engine::Engine& engine)
        : time(engine.time),
          clockDrift(engine.clockDrift),
          frameDuration(engine.frameDuration),
          busyTime(engine.busyTime),
          drawingEnabled(engine.drawingEnabled) {}

    void restore(engine::Engine& engine) const {
        engine.time = time;
        engine.clockDrift = clockDrift;
        engine.frameDuration = frameDuration;
        engine.busyTime = busyTime;
        engine.drawingEnabled = drawingEnabled;
    }

    float time, clockDrift, frameDuration, busyTime;
    int32_t drawingEnabled;
};

}  // namespace

ImageNode_MotionBlur::ImageNode_MotionBlur(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)),
      moblurShader("moblurShader", glsl_MotionBlur_vert, nullptr, glsl_MotionBlur_frag, {"vertex", "uv"}, 1),
      target_(std::make_unique<render::GL_FrameBuffer>(1920, 1080, 1, 16, GL_RGBA, false, false)) {
    setInputCount(1);
    inputNames[0] = "Image";
    owner.addInt(*this, "Samples", &samples, 3, {"4", "6", "8", "10", "12", "14", "16", "24", "32", "64"});
    owner.addFloat(*this, "Shutter", &shutter, 0.001f, 1.0f, 4, 0.01f, true);
    owner.addBool(*this, "Blur All", &blurAll, true);
    images[0] = target_.get();

    glUseProgram(moblurShader.program);
    glUniform1i(render::UniformLocation(moblurShader, "tex"), 0);
    glUseProgram(0);
}

ImageNode_MotionBlur::~ImageNode_MotionBlur() = default;

bool ImageNode_MotionBlur::acceptsInput(int32_t index, const engine::Node& source) const {
    return index == 0 && isImageNode(&source);
}

int ImageNode_MotionBlur::sampleCount(int32_t choice) {
    return kSampleCounts[std::size_t(std::clamp(choice, 0, int32_t(kSampleCounts.size()) - 1))];
}

bool ImageNode_MotionBlur::evaluate() {
    engine::Engine& engine = *owner;
    const EngineClock saved(engine);
    bool result = true;
    if (Node* input = getInput(0)) {
        const int n = sampleCount(samples);
        // Taken once, so that a keyframed shutter cannot shift the later samples.
        const float interval = shutter;
        for (int i = 0; i < n && result; ++i) {
            engine.time = saved.time - (float(i) * interval) / float(n);
            engine.drawingEnabled = saved.drawingEnabled;
            engine.evaluateKeyframes();
            for (auto& [name, node] : engine.nodesByName) node->evaluated = false;
            if (blurAll) {
                result = Node::evaluate() && result;
            } else {
                input->process();
                input->render();
            }
            addSample(1.0f / float(i + 1));
        }
    }
    saved.restore(engine);
    // Once per frame, like every other node: a second consumer takes the mean as it stands.
    evaluated = true;
    return result;
}

void ImageNode_MotionBlur::addSample(float weight) {
    ImageNode* input = imageInput(*this, 0);
    if (!input || !input->images[0] || owner->drawingEnabled != 1) return;
    // Set here rather than before the evaluation: a MotionBlur upstream sets its own.
    glBlendColor(weight, weight, weight, weight);
    glEnable(GL_BLEND);
    glBlendFunc(GL_CONSTANT_COLOR, GL_ONE_MINUS_CONSTANT_COLOR);
    glUseProgram(moblurShader.program);
    glUniformMatrix4fv(render::UniformLocation(moblurShader, "textureMatrix_Input[0]"), 1, GL_FALSE,
                       input->textureMatrix.data());
    glBindFramebuffer(GL_FRAMEBUFFER, target_->framebuffer);
    render::SetDrawBuffers(*target_);
    render::DrawImageQuad(*input->images[0]);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glUseProgram(0);
    glDisable(GL_BLEND);
}

}  // namespace vorn::nodes
