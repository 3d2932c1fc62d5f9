// "MotionBlur": temporal motion blur. Instead of the common graph walk, the
// node re-renders its input at several moments within the shutter interval
// before the frame time (t, t - s/N, ..., t - (N-1) s/N) and averages the
// pictures in its own 1920x1080 float target: sample i is blended in with the
// weight 1 / (i + 1), so after N samples the target holds their plain mean.
//
// For each sample the engine time is moved and the keyframes re-evaluated
// (sync-track values keep the frame's values); with "Blur All" the whole
// upstream graph is evaluated again, otherwise only the direct input redraws.
// Afterwards the engine's clock and drawingEnabled flag are as before, while
// keyframed parameters keep the values of the last sample time for the rest of
// the frame and upstream nodes stay marked evaluated with its pictures.
#pragma once

#include "nodes/image/ImageNode.h"
#include "render/GL_FrameBuffer.h"
#include "render/ShaderProgram.h"

#include <memory>

namespace vorn::nodes {

class ImageNode_MotionBlur : public ImageNode {
public:
    ImageNode_MotionBlur(engine::Engine& owner, std::string name);
    ~ImageNode_MotionBlur() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    // The work is done by evaluate.
    bool process() override { return true; }
    bool render() override { return true; }
    bool evaluate() override;

    // The sample count of a "Samples" choice (out-of-range choices are clamped).
    static int sampleCount(int32_t choice);

    // Parameters, in registration order.
    int32_t samples = 3;
    float shutter = 0.01f;  // seconds of engine time
    bool blurAll = true;

    render::ShaderProgram moblurShader;

private:
    // Blends input 0's picture into the target with the weight w.
    void addSample(float weight);

    std::unique_ptr<render::GL_FrameBuffer> target_;  // slot 0
};

}  // namespace vorn::nodes
