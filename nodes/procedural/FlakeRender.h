// "Render_Flake": a field of falling, swaying snow-flake sprites drawn in 3D
// into a transparent 1920x1080 picture, for compositing over a rendered scene.
// Each flake is a point that the geometry stage grows into a camera-facing
// quad showing one cell of the texture atlas ("Atlas File", "Atlas Size"
// cells per side, coverage in the red channel).
//
// Input 0 ("Depth Channel[1]") is the scene picture whose published depth
// texture holds the eye distance in alpha (the deferred renderer's): flakes
// fade out over one flake size in front of its surfaces and vanish behind
// them. Without one (or when the input publishes none) the scene counts as
// infinitely far and every flake shows. Input 1 is the camera; without one a
// fixed camera looks down -z from (0, 0, 1.5).
//
// "Flake Count" and "Atlas Size" are held inside their parameter ranges for
// allocation and drawing, whatever a keyframe or a project file says. The
// layout is regenerated only when the integer count changes.
#pragma once

#include "nodes/image/ImageNode.h"
#include "render/GL_FrameBuffer.h"
#include "render/GL_MemTexture.h"
#include "render/ShaderProgram.h"

#include <memory>
#include <string>

namespace vorn::nodes {

class ImageNode_FlakeRender : public ImageNode {
public:
    static constexpr int kMinFlakes = 10;
    static constexpr int kMaxFlakes = 10000;

    ImageNode_FlakeRender(engine::Engine& owner, std::string name);
    ~ImageNode_FlakeRender() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // The number of flakes in the vertex buffer; -1 before the first process.
    int builtFlakeCount() const { return builtFlakeCount_; }

    // Parameters, in registration order.
    float flakeCount = 100.0f;
    float flakeSize = 0.1f;
    float flakeSizeVariance = 0.0f;
    float center[3] = {0, 0, 0};
    float regionSize[3] = {5, 5, 5};
    std::string atlasFile;
    float atlasSize = 10.0f;
    float speed = 0.0f;
    float wiggle = 0.0f;
    float color[4] = {1, 1, 1, 1};
    float colorVariance = 0.0f;
    float depthAlpha = 0.0f;

    render::ShaderProgram flakeShader;

private:
    void loadAtlas();
    void generate();
    void draw();

    std::unique_ptr<render::GL_FrameBuffer> channelBuffer_;  // slot 0
    std::unique_ptr<render::GL_MemTexture> atlas_;
    std::string loadedAtlasPath_;
    GLuint vertexArray_ = 0;
    GLuint vertexBuffer_ = 0;
    int builtFlakeCount_ = -1;
    GLuint farScene_ = 0;  // 1x1 depth picture of a scene infinitely far away

    struct Uniforms {
        GLint cameraMatrix, projectionMatrix, cameraPosition, speed, time, wiggle, flakeSize, flakeSizeVariance,
            center, size, color, colorVariance, depthAlpha;
    } uniforms_{};
};

}  // namespace vorn::nodes
