// "2D Parallax Engine": plays layered 2D animations from ".scn" scene files.
// Up to 30 scenes share one timeline; the scene for the current time has its
// layers drawn, last in the file first, each with its keyed rectangle and
// opacity and its blend mode, into a colour picture and a neon picture. The
// neon picture is blurred and added back as glow. Layers named as screen
// masks show the "Masked FX" input through them.
//
// Scenes are loaded when their file name changes; layer pictures come from
// ".\Graphics\" through a texture cache that lives as long as the node. All
// layers of a frame are drawn from one vertex array and buffer the node owns,
// so a steady frame creates no GL objects.
#pragma once

#include "nodes/image/ImageNode.h"
#include "nodes/image/ParallaxRules.h"
#include "nodes/image/SceneFile.h"
#include "nodes/image/ShaderUniforms.h"
#include "render/GL_FrameBuffer.h"
#include "render/GL_MemTexture.h"
#include "render/ShaderProgram.h"

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorn::nodes {

class ImageNode_2DParallaxRenderer : public ImageNode {
public:
    ImageNode_2DParallaxRenderer(engine::Engine& owner, std::string name);
    ~ImageNode_2DParallaxRenderer() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // Parameters, in registration order (the scene arrays are registered
    // file and start time by turns, then offset and stretch by turns).
    float globalOffset = 0.0f;
    float globalTimeStretch = 1.0f;
    float globalAlpha = 1.0f;
    float fxIntensity = 0.0f;
    float glowRadius = 10.0f;
    float glowIntensity = 1.0f;
    float glowMask = 1.0f;
    std::array<std::string, kParallaxSceneCount> sceneFiles;
    std::array<float, kParallaxSceneCount> startTimes{};
    std::array<float, kParallaxSceneCount> timeOffsets{};
    std::array<float, kParallaxSceneCount> timeStretches{};
    float background[4] = {0.0f, 0.0f, 0.0f, 1.0f};

    render::ShaderProgram compose;
    render::ShaderProgram composeDodge;
    render::ShaderProgram blurShader;

    struct Layer {
        const render::GL_MemTexture* image = nullptr;  // from the cache
        const render::GL_MemTexture* neon = nullptr;   // the same picture for glow sources
        float mask = 0.0f;                             // 1 for screen-mask layers
        int32_t mode = 0;
        std::vector<SceneKey> keys;  // never empty
    };
    const std::vector<Layer>& layersOf(int scene) const { return scenes_[scene]; }
    std::size_t cachedPictureCount() const { return pictures_.size(); }

private:
    // The uniforms "compose" and "composeDodge" share.
    struct LayerUniforms {
        LayerUniforms() = default;
        explicit LayerUniforms(GLuint program);
        CachedUniform textureMatrix, alpha, neonIntensity, maskedEffectIntensity;
    };

    // One layer of this frame, in drawing order.
    struct LayerDraw {
        const Layer* layer = nullptr;
        LayerBlend blend = LayerBlend::Screen;
        float alpha = 0.0f;
    };

    void loadScenes();
    void loadScene(int n);
    const render::GL_MemTexture* picture(const std::string& path);
    void planLayers(int scene, float tau);
    void drawLayers(const render::GL_Image* fx, const render::Mat4& fxMatrix);
    void drawGlow(int scene);
    void composite(int scene);
    void bindUnit(int unit, GLuint texture);

    std::array<std::vector<Layer>, kParallaxSceneCount> scenes_;
    std::array<std::string, kParallaxSceneCount> loadedNames_;
    std::unordered_map<std::string, std::unique_ptr<render::GL_MemTexture>> pictures_;

    LayerUniforms composeUniforms_;
    LayerUniforms dodgeUniforms_;

    std::unique_ptr<render::GL_FrameBuffer> accumulation_[2];  // colour and neon, used by turns
    std::unique_ptr<render::GL_FrameBuffer> blurTarget1_;
    std::unique_ptr<render::GL_FrameBuffer> blurTarget2_;
    std::unique_ptr<render::GL_FrameBuffer> output_;  // slot 0
    int current_ = 0;                                 // the accumulation target drawn into

    // Every layer quad of a frame lies in this one buffer, four vertices each.
    GLuint layerArray_ = 0;
    GLuint layerBuffer_ = 0;
    std::vector<LayerDraw> draws_;
    std::vector<float> vertices_;
    std::array<GLuint, 5> boundTextures_{};  // units 0-4 while layers are drawn
};

}  // namespace vorn::nodes
