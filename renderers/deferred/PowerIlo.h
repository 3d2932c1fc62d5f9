// "Render_PowerIlo": renders the meshes of its geometry input through its
// camera input with a physically based, deferred pipeline. Each frame:
//   1. optionally the scene mirrored about a horizontal plane into a dynamic
//      reflection buffer;
//   2. every object into a seven-channel G-buffer (iloModel.frag.glsl);
//   3. screen-space indirect light (iloGI), blurred across and down (iloBlur),
//      and ambient occlusion (iloAO), at half resolution;
//   4. the final colour (iloCompose) or one channel made visible
//      (iloOutputLayer), inside the camera's letterbox;
//   5. optionally depth of field (iloDof).
// The outputs "Albedo" and "UV" take a cheaper path: one simple pass into the
// G-buffer, whose first channel is then the picture.
//
// Objects are drawn with their own material, else their node's; objects
// without a PBR material are not drawn. Programs, targets and sampler units
// are set up once here; a steady frame creates no GL objects.
#pragma once

#include "nodes/image/ImageNode.h"
#include "renderers/deferred/MaterialBinding.h"
#include "render/GL_FrameBuffer.h"
#include "render/GL_MemTexture.h"
#include "render/ShaderProgram.h"

#include <array>
#include <memory>
#include <string>

namespace vorn::nodes {

class CameraNode;

class ImageNode_PowerIlo : public ImageNode {
public:
    // The "Output" choices, in order.
    enum Output : int32_t {
        Full, Albedo, Normals, Position, Depth, Emission, Reflection, ReflectionIntensity, IblDiffuse,
        Roughness, Metalness, Ao, Gi, EnvironmentMap, DynamicReflection, Uv,
    };

    ImageNode_PowerIlo(engine::Engine& owner, std::string name);
    ~ImageNode_PowerIlo() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // The sample count of an "AO:Samples" / "GI:Samples" text: its leading
    // decimal number as C reads one (0 for none), at most kMaxSamples.
    static int sampleCount(const std::string& text);
    static constexpr int kMaxSamples = 1024;

    // Parameters, in registration order.
    std::string reflectionMap;
    float refIntensity = 1.0f;
    float iblIntensity = 1.0f;
    float envGamma = 1.0f;
    float envRotate = 0.0f;  // degrees
    float depthAlpha = 0.0f;
    bool reflectionEnable = false;
    float reflectionHeight = 0.0f;
    bool aoEnable = false;
    float aoIntensity = 5.0f;
    float aoRadius = 1.0f;
    float aoBias = 0.001f;
    float aoScale = 2.5f;
    float aoBlurDist = 1.0f;  // stored with the production; no pass reads it
    float aoMaxDist = 10.0f;
    std::string aoSamples;
    bool giEnable = false;
    float giIntensity = 35.0f;
    float giRadius = 1.0f;
    float giBias = 0.001f;
    float giScale = 2.5f;
    float giBlurDist = 1.0f;
    std::string giSamples;
    bool dofEnable = false;
    float dofRadius = 0.0f;
    float dofStart = 1.0f;
    float dofEnd = 4.0f;
    float flowGiAdd = 0.0f;
    float flowAoMult = 0.0f;
    float flowDepthBase = 0.0f;
    float flowIblLevel = 8.0f;
    int32_t output = Full;

    float giMaxDistance = 0.0f;  // no parameter edits it

    // The environment map and the path it was decoded from. Null when the file
    // did not decode: reflections and image-based light then sample black.
    std::unique_ptr<render::GL_MemTexture> environmentTexture;
    std::string loadedEnvironmentFile;

    render::ShaderProgram iloModelShader;
    render::ShaderProgram iloReflectionModelShader;
    render::ShaderProgram iloComposeShader;
    render::ShaderProgram iloGIShader;
    render::ShaderProgram iloAOShader;
    render::ShaderProgram blurShader;
    render::ShaderProgram iloOutputLayerShader;
    render::ShaderProgram iloDofShader;
    render::ShaderProgram iloModelSimplePassShader;

    // Render targets, all 16-bit float RGBA.
    std::unique_ptr<render::GL_FrameBuffer> channelBuffer;            // 1920x1080, 7 channels, depth
    std::unique_ptr<render::GL_FrameBuffer> dynamicReflectionBuffer;  // 1920x1080, depth
    std::unique_ptr<render::GL_FrameBuffer> giResult;                 // 960x540
    std::unique_ptr<render::GL_FrameBuffer> aoResult;                 // 960x540
    std::unique_ptr<render::GL_FrameBuffer> blurBuffer;               // 960x540
    std::unique_ptr<render::GL_FrameBuffer> giBlurResult;             // 960x540
    std::unique_ptr<render::GL_FrameBuffer> outputBuffer;             // 1920x1080, mip-mapped
    std::unique_ptr<render::GL_FrameBuffer> dofBuffer;                // 1920x1080

    // Where the picture is drawn in the output, in normalised device
    // coordinates (x0, y0, x1, y1): the camera's letterbox.
    std::array<float, 4> outputRectangle{-1.0f, -1.0f, 1.0f, 1.0f};

private:
    // What the surface passes need of a program beyond its material.
    struct SurfaceProgram {
        explicit SurfaceProgram(const render::ShaderProgram& program, MaterialBinder::Part part);
        const render::ShaderProgram& program;
        MaterialUniforms materialUniforms;
        MaterialBinder binder;
        GLint modelMatrix, modelViewMatrix, normalMatrix;
    };
    struct FrameCamera {
        render::Mat4 view;
        render::Mat4 projection;
        render::Vec3 position;
    };

    void setSamplerUnits();
    void refreshEnvironmentMap();
    FrameCamera frameCamera();
    void drawSurfaces(SurfaceProgram& surface, const GeometryNode& geometry, const FrameCamera& camera,
                      const render::Mat4& sceneTransform, bool reflectionPass, bool indexed);
    void geometryPasses(const GeometryNode* geometry, const FrameCamera& camera);
    void simplePass(const GeometryNode* geometry, const FrameCamera& camera);
    void indirectLightPass();
    void occlusionPass();
    void finalColourPass();
    void depthOfFieldPass();
    // Draws the bound program over rectangle of target (viewport = target).
    void drawRectangle(const render::ShaderProgram& program, const render::GL_FrameBuffer& target,
                       const std::array<float, 4>& rectangle);

    SurfaceProgram modelSurface_;
    SurfaceProgram reflectionSurface_;
    SurfaceProgram simpleSurface_;
};

}  // namespace vorn::nodes
