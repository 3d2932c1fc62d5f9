// The node type of a shader description: a one-pass full-screen effect. The
// description's inputs become the node's inputs (each sampled through its
// node's texture matrix from the slot its input type selects), its parameters
// become node parameters and arrive as uniforms of the same names, and the
// description's source draws into a 1920x1080 half-float target every frame.
#pragma once

#include "nodes/image/ImageNode.h"
#include "nodes/image/ShaderDescription.h"
#include "nodes/image/ShaderUniforms.h"
#include "render/GL_FrameBuffer.h"
#include "render/ShaderProgram.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace vorn::nodes {

class ImageNode_Shader : public ImageNode {
public:
    ImageNode_Shader(engine::Engine& owner, std::string name, const ShaderDescription& description);
    ~ImageNode_Shader() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    // Binds the inputs and sets the uniforms (only while the engine draws).
    bool process() override;
    // Draws the pass into the target; with "Cinemascope" only the middle band.
    bool render() override;
    // Binds every "rocket" parameter to the sync track of its name.
    void bindSyncTracks() override;

    // The node's own copy; the parameter records point into its parameters.
    ShaderDescription description;
    bool cinemascope = false;
    std::unique_ptr<render::ShaderProgram> program;
    // "rocket" parameters: track name -> the value the track drives, one per name.
    std::vector<std::pair<std::string, float*>> syncTracks;

private:
    // Every uniform the node sets, looked up once the program is linked.
    struct Uniforms {
        EffectUniforms effect;
        std::vector<CachedUniform> inputMatrices, samplers;  // by input
        std::vector<CachedUniform> parameters;               // by description parameter
    };

    void registerParameters();
    void findUniforms();
    void borrowInputSlots();
    void bindInputs();
    void setParameterUniforms();

    std::unique_ptr<render::GL_FrameBuffer> target_;
    Uniforms uniforms_;
    // process left the program bound for render (they run back to back).
    bool programBound_ = false;
};

// A float parameter as an int uniform: truncated towards zero; NaN gives 0 and
// values beyond the int range saturate.
int32_t truncateToInt(float value);

}  // namespace vorn::nodes
