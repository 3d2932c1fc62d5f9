// "ShaderToy": a full-screen fragment shader read from a file of its own, for
// live shader development. While "Reload" is set the file is read every frame
// and the program rebuilt when its text changed. Until a program exists (or
// once the file has gone) the output is opaque red.
#pragma once

#include "nodes/image/ImageNode.h"
#include "nodes/image/ShaderUniforms.h"
#include "render/GL_FrameBuffer.h"
#include "render/ShaderProgram.h"

#include <memory>
#include <string>

namespace vorn::nodes {

class ImageNode_ShaderToy : public ImageNode {
public:
    // The source buffer: at most 65535 characters and the terminating zero.
    static constexpr long kMaxSourceBytes = 65535;

    ImageNode_ShaderToy(engine::Engine& owner, std::string name);
    ~ImageNode_ShaderToy() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    // Reloads while "Reload" is set; false while there is no program.
    bool process() override;
    // Draws the program, or clears the output to red without one.
    bool render() override;

    // Parameters, in registration order.
    std::string sourcePath;
    bool reload = false;
    float posGrab[2] = {0.5f, 0.5f};  // saved with the node; no uniform receives it

    std::unique_ptr<render::ShaderProgram> program;  // null until a file was read

private:
    void reloadSource();
    // Writes a diagnostic once, not every frame while the cause persists.
    void report(const std::string& problem);

    std::unique_ptr<render::GL_FrameBuffer> target_;
    // The current program's uniforms.
    EffectUniforms uniforms_;
    std::string builtSource_;  // the text the current program was built from
    std::string lastProblem_;
};

}  // namespace vorn::nodes
