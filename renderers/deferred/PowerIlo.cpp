#include "renderers/deferred/PowerIlo.h"

#include "engine/Engine.h"
#include "nodes/scene/CameraNode.h"
#include "nodes/scene/GeometryNode.h"
#include "render/ImageFile.h"
#include "render/Matrix.h"
#include "render/Quads.h"
#include "renderers/deferred/iloAO.frag.glsl.h"
#include "renderers/deferred/iloBlur.frag.glsl.h"
#include "renderers/deferred/iloCompose.frag.glsl.h"
#include "renderers/deferred/iloDof.frag.glsl.h"
#include "renderers/deferred/iloGI.frag.glsl.h"
#include "renderers/deferred/iloModel.frag.glsl.h"
#include "renderers/deferred/iloModel.vert.glsl.h"
#include "renderers/deferred/iloModelSimplePass.frag.glsl.h"
#include "renderers/deferred/iloOutputLayer.frag.glsl.h"
#include "renderers/deferred/iloRectangle.vert.glsl.h"
#include "renderers/deferred/iloReflectionModel.frag.glsl.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdlib>

namespace vorn::nodes {

namespace {

using render::GL_FrameBuffer;
using render::Mat4;
using render::ShaderProgram;
using render::UniformLocation;

constexpr std::array<float, 4> kWholeTarget{-1.0f, -1.0f, 1.0f, 1.0f};
const std::vector<std::string> kMeshAttributes{"vertex", "normal", "texcoord"};
const std::vector<std::string> kQuadAttributes{"vertex", "uv"};

// Keeps a loop count of the screen passes bounded when a parameter holds a
// value beyond its range (from a keyframe or a hand-edited project).
constexpr float kMaxBlurWidth = 80.0f;
constexpr float kMaxDofRadius = 100.0f;

std::unique_ptr<GL_FrameBuffer> target(int width, int height, int count, bool depth, bool mipmap) {
    return std::make_unique<GL_FrameBuffer>(width, height, count, 16, GL_RGBA, depth, mipmap);
}

ShaderProgram surfaceProgram(const char* label, const char* fragment, int outputs) {
    return ShaderProgram(label, glsl_iloModel_vert, nullptr, fragment, kMeshAttributes, outputs);
}

ShaderProgram screenProgram(const char* label, const char* fragment) {
    return ShaderProgram(label, glsl_iloRectangle_vert, nullptr, fragment, kQuadAttributes, 1);
}

void setSamplers(const ShaderProgram& program, std::initializer_list<const char*> names) {
    glUseProgram(program.program);
    GLint unit = 0;
    for (const char* name : names) glUniform1i(UniformLocation(program, name), unit++);
}

void setFloat(const ShaderProgram& program, const char* name, float value) {
    glUniform1f(UniformLocation(program, name), value);
}

void setMatrix(const ShaderProgram& program, const char* name, const Mat4& value) {
    glUniformMatrix4fv(UniformLocation(program, name), 1, GL_FALSE, value.data());
}

void bindTexture(int unit, GLuint texture) {
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    glBindTexture(GL_TEXTURE_2D, texture);
}

void unbindUnits(int count) {
    for (int unit = count - 1; unit >= 0; --unit) bindTexture(unit, 0);
}

void clearTarget(const GL_FrameBuffer& target, float r, float g, float b, float a) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    render::SetDrawBuffers(target);
    glClearColor(r, g, b, a);
    glClear(GL_COLOR_BUFFER_BIT | (target.depth ? GL_DEPTH_BUFFER_BIT : 0));
}

// Colour textures 1 and 2 (eye normal and distance, eye position and z) start
// far away, so that screen passes see no surface where nothing was drawn.
void clearDistances(const GL_FrameBuffer& target) {
    static constexpr GLfloat kFar[4] = {0.0f, 0.0f, 0.0f, 9999.0f};
    for (int i = 1; i <= 2 && i < target.textureCount(); ++i) glClearBufferfv(GL_COLOR, i, kFar);
}

// The translation of the inverse of an affine view matrix: the eye.
render::Vec3 eyeOf(const Mat4& view) {
    Mat4 inverse = render::affineInverse(view);
    return {inverse[12], inverse[13], inverse[14]};
}

}  // namespace

ImageNode_PowerIlo::SurfaceProgram::SurfaceProgram(const ShaderProgram& program, MaterialBinder::Part part)
    : program(program),
      materialUniforms(program),
      binder(materialUniforms, part),
      modelMatrix(UniformLocation(program, "modelMatrix")),
      modelViewMatrix(UniformLocation(program, "modelViewMatrix")),
      normalMatrix(UniformLocation(program, "normalMatrix")) {}

ImageNode_PowerIlo::ImageNode_PowerIlo(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)),
      iloModelShader(surfaceProgram("iloModelShader", glsl_iloModel_frag, 7)),
      iloReflectionModelShader(surfaceProgram("iloReflectionModelShader", glsl_iloReflectionModel_frag, 1)),
      iloComposeShader(screenProgram("iloComposeShader", glsl_iloCompose_frag)),
      iloGIShader(screenProgram("iloGIShader", glsl_iloGI_frag)),
      iloAOShader(screenProgram("iloAOShader", glsl_iloAO_frag)),
      blurShader(screenProgram("blurShader", glsl_iloBlur_frag)),
      iloOutputLayerShader(screenProgram("iloOutputLayerShader", glsl_iloOutputLayer_frag)),
      iloDofShader(screenProgram("iloDofShader", glsl_iloDof_frag)),
      iloModelSimplePassShader(surfaceProgram("iloModelSimplePassShader", glsl_iloModelSimplePass_frag, 2)),
      channelBuffer(target(1920, 1080, 7, true, false)),
      dynamicReflectionBuffer(target(1920, 1080, 1, true, false)),
      giResult(target(960, 540, 1, false, false)),
      aoResult(target(960, 540, 1, false, false)),
      blurBuffer(target(960, 540, 1, false, false)),
      giBlurResult(target(960, 540, 1, false, false)),
      outputBuffer(target(1920, 1080, 1, false, true)),
      dofBuffer(target(1920, 1080, 1, false, false)),
      modelSurface_(iloModelShader, MaterialBinder::Part::All),
      reflectionSurface_(iloReflectionModelShader, MaterialBinder::Part::All),
      simpleSurface_(iloModelSimplePassShader, MaterialBinder::Part::AlbedoOnly) {
    setInputCount(2);
    inputNames[0] = "Geometry";
    inputNames[1] = "Camera";

    owner.addString(*this, "Reflection Map", &reflectionMap, owner.resourceDirectory + "environments\\env-default.jpg");
    owner.addFloat(*this, "REF Intensity", &refIntensity, 0.0f, 10.0f, 2, 1.0f, true);
    owner.addFloat(*this, "IBL Intensity", &iblIntensity, 0.0f, 10.0f, 2, 1.0f, true);
    owner.addFloat(*this, "ENV Gamma", &envGamma, 0.01f, 10.0f, 2, 1.0f, true);
    owner.addFloat(*this, "ENV Rotate", &envRotate, 0.0f, 360.0f, 2, 0.0f, false);
    owner.addFloat(*this, "Depth Alpha", &depthAlpha, 0.0f, 2.0f, 5, 0.0f, true);
    owner.addBool(*this, "Reflection: Enable", &reflectionEnable, false);
    owner.addFloat(*this, "Reflection: Height", &reflectionHeight, -100.0f, 100.0f, 2, 0.0f, true);
    owner.addBool(*this, "AO:Enable", &aoEnable, false);
    owner.addFloat(*this, "AO:Intensity", &aoIntensity, 0.0f, 256.0f, 2, 5.0f, true);
    owner.addFloat(*this, "AO:Radius", &aoRadius, 0.0f, 30.0f, 2, 1.0f, true);
    owner.addFloat(*this, "AO:Bias", &aoBias, 0.00001f, 0.01f, 4, 0.001f, true);
    owner.addFloat(*this, "AO:Scale", &aoScale, 0.0f, 10.0f, 2, 2.5f, true);
    owner.addFloat(*this, "AO:Blur Dist", &aoBlurDist, 0.0f, 80.0f, 2, 1.0f, true);
    owner.addFloat(*this, "AO:Max Dist", &aoMaxDist, 0.001f, 40.0f, 2, 10.0f, true);
    owner.addString(*this, "AO:Samples", &aoSamples, "16");
    owner.addBool(*this, "GI:Enable", &giEnable, false);
    owner.addFloat(*this, "GI:Intensity", &giIntensity, 0.0f, 1024.0f, 2, 35.0f, true);
    owner.addFloat(*this, "GI:Radius", &giRadius, 0.0f, 500.0f, 2, 1.0f, true);
    owner.addFloat(*this, "GI:Bias", &giBias, 0.00001f, 0.01f, 4, 0.001f, true);
    owner.addFloat(*this, "GI:Scale", &giScale, 0.0f, 10.0f, 2, 2.5f, true);
    owner.addFloat(*this, "GI:Blur Dist", &giBlurDist, 0.0f, 80.0f, 2, 1.0f, true);
    owner.addString(*this, "GI:Samples", &giSamples, "16");
    owner.addBool(*this, "DoF: Enable", &dofEnable, false);
    owner.addFloat(*this, "DoF: Radius", &dofRadius, 0.0f, 100.0f, 2, 0.0f, true);
    owner.addFloat(*this, "DoF: Start", &dofStart, 0.0f, 100.0f, 2, 1.0f, true);
    owner.addFloat(*this, "DoF: End", &dofEnd, 0.0f, 100.0f, 2, 4.0f, true);
    owner.addFloat(*this, "Flow: GI Add", &flowGiAdd, 0.0f, 5.0f, 2, 0.0f, true);
    owner.addFloat(*this, "Flow: AO Mult", &flowAoMult, 0.0f, 5.0f, 2, 0.0f, true);
    owner.addFloat(*this, "Flow: Depth Base", &flowDepthBase, 0.0f, 1.0f, 2, 0.0f, true);
    owner.addFloat(*this, "Flow: IBL Level", &flowIblLevel, 0.0f, 30.0f, 2, 8.0f, true);
    owner.addInt(*this, "Output", &output, Full,
                 {"Full", "Albedo", "Normals", "Position", "Depth", "Emission", "Reflection",
                  "Reflection Intensity", "IBL Diffuse", "Roughness", "Metalness", "AO", "GI",
                  "Environment Map", "Dynamic Reflection", "UV"});

    images[0] = outputBuffer.get();
    setSamplerUnits();
    hasError = !(iloModelShader.valid && iloReflectionModelShader.valid && iloComposeShader.valid &&
                 iloGIShader.valid && iloAOShader.valid && blurShader.valid && iloOutputLayerShader.valid &&
                 iloDofShader.valid && iloModelSimplePassShader.valid);
}

ImageNode_PowerIlo::~ImageNode_PowerIlo() = default;

void ImageNode_PowerIlo::setSamplerUnits() {
    setSamplers(iloModelShader, {"chAlbedo", "chNormalMap", "chEmission", "chRoughness", "chMetalness",
                                 "environmentMap", "chDynamicReflection"});
    setSamplers(iloModelSimplePassShader, {"chAlbedo"});
    setSamplers(iloReflectionModelShader,
                {"chAlbedo", "chNormalMap", "chEmission", "chRoughness", "chMetalness", "environmentMap"});
    setSamplers(iloGIShader, {"eyeSpaceNormal", "eyeSpacePosition", "eyeSpaceIllumination"});
    setSamplers(iloAOShader, {"eyeSpaceNormal", "eyeSpacePosition"});
    setSamplers(blurShader, {"inputColor", "eyeSpaceNormalDepth"});
    setSamplers(iloOutputLayerShader, {"albedo", "normals", "position", "emission", "reflection", "diffuse", "ao",
                                       "gi", "environment", "pbrdata", "dynReflection"});
    setSamplers(iloComposeShader, {"i_ch_albedo", "i_ch_emission", "i_ch_reflection", "i_ch_diffuse", "i_ch_ao",
                                   "i_ch_gi", "i_ch_pbrdata", "i_ch_normal"});
    setSamplers(iloDofShader, {"inputColor", "inputNormalDepth"});
    glUseProgram(0);
}

bool ImageNode_PowerIlo::acceptsInput(int32_t index, const engine::Node& source) const {
    if (index == 0) return source.kind() == engine::NodeKind::Geometry;
    if (index == 1) return source.kind() == engine::NodeKind::Camera;
    return false;
}

int ImageNode_PowerIlo::sampleCount(const std::string& text) {
    errno = 0;
    long value = std::strtol(text.c_str(), nullptr, 10);
    if (errno == ERANGE) value = value < 0 ? 0 : kMaxSamples;
    return int(std::clamp<long>(value, 0, kMaxSamples));
}

void ImageNode_PowerIlo::refreshEnvironmentMap() {
    if (reflectionMap == loadedEnvironmentFile) return;
    loadedEnvironmentFile = reflectionMap;
    environmentTexture.reset();
    // An empty name is "no map", not a file to complain about.
    if (reflectionMap.empty()) return;
    // A file that does not decode has been reported by the decoder.
    render::LoadedImage image = render::LoadImageFile(reflectionMap, false);
    if (image.pixels.empty()) return;
    environmentTexture = std::make_unique<render::GL_MemTexture>(
        image.width, image.height, image.channels == 3 ? GL_RGB : GL_RGBA, GL_REPEAT, GL_REPEAT, image.pixels.data());
}

bool ImageNode_PowerIlo::process() {
    images[0] = outputBuffer.get();
    outputRectangle = kWholeTarget;
    refreshEnvironmentMap();
    if (owner->drawingEnabled != 1) return true;

    glDisable(GL_BLEND);
    FrameCamera camera = frameCamera();
    const GeometryNode* geometry = geometryInput(*this, 0);

    if (output == Albedo || output == Uv) {
        simplePass(geometry, camera);
        images[0] = channelBuffer.get();
        return true;
    }
    geometryPasses(geometry, camera);
    indirectLightPass();
    occlusionPass();
    finalColourPass();
    if (dofEnable) {
        depthOfFieldPass();
        images[0] = dofBuffer.get();
    }
    glUseProgram(0);
    unbindUnits(11);
    glViewport(0, 0, 1920, 1080);
    depthChannelTexture = channelBuffer->textures[1];
    return true;
}

ImageNode_PowerIlo::FrameCamera ImageNode_PowerIlo::frameCamera() {
    FrameCamera camera;
    camera.view = render::lookAtMatrix({0.0f, 0.0f, 1.5f}, {0.0f, 0.0f, -1.0f}, {0.0f, 1.0f, 0.0f});
    // 60 degrees, 16:9, near 0.1, far 10000.
    const float f = 1.0f / std::tan(0.523599f);
    camera.projection = {f / 1.7777778f, 0, 0, 0, 0, f, 0, 0, 0, 0, -1.00002f, -1, 0, 0, -0.200002f, 0};
    if (const CameraNode* input = cameraInput(*this, 1)) {
        camera.view = input->viewMatrix;
        camera.projection = input->projectionMatrix;
        // Letterbox: a wide lens narrows the picture's height, a tall one its width.
        if (input->aspect > 1.0f) {
            float y = (1920.0f / input->aspect) / 1080.0f;
            outputRectangle = {-1.0f, -y, 1.0f, y};
        } else {
            float x = input->aspect * 1080.0f / 1920.0f;
            outputRectangle = {-x, -1.0f, x, 1.0f};
        }
    }
    camera.position = eyeOf(camera.view);
    return camera;
}

void ImageNode_PowerIlo::drawSurfaces(SurfaceProgram& surface, const GeometryNode& geometry,
                                      const FrameCamera& camera, const Mat4& sceneTransform, bool reflectionPass,
                                      bool indexed) {
    const Mat4 placement = render::matrixProduct(sceneTransform, geometry.modelMatrix);
    for (const MeshObject& object : geometry.objects) {
        const PbrMaterial* material = effectiveMaterial(object, geometry);
        if (!material) continue;
        surface.binder.bind(*material);
        if (reflectionPass && !material->inDynRef) continue;

        Mat4 model = render::matrixProduct(placement, object.matrix);
        glUniformMatrix4fv(surface.modelMatrix, 1, GL_FALSE, model.data());
        if (surface.modelViewMatrix >= 0) {
            Mat4 modelView = render::matrixProduct(camera.view, model);
            glUniformMatrix4fv(surface.modelViewMatrix, 1, GL_FALSE, modelView.data());
        }
        glUniformMatrix4fv(surface.normalMatrix, 1, GL_FALSE, model.data());
        glBindVertexArray(object.vertexArray);
        if (indexed)
            glDrawElements(GL_TRIANGLES, GLsizei(object.indexCount), GL_UNSIGNED_INT, nullptr);
        else
            glDrawArrays(GL_TRIANGLES, 0, GLsizei(object.vertexCount));
    }
    glBindVertexArray(0);
}

void ImageNode_PowerIlo::geometryPasses(const GeometryNode* geometry, const FrameCamera& camera) {
    glViewport(0, 0, 1920, 1080);
    if (!reflectionEnable) clearTarget(*dynamicReflectionBuffer, 0.0f, 0.0f, 0.0f, 0.0f);

    // The mirror about the plane y = h: T(0, h, 0) x scale(1, -1, 1) x T(0, -h, 0).
    const float h = reflectionHeight;
    const Mat4 mirror = render::matrixProduct(
        render::matrixProduct(render::translationMatrix(0.0f, h, 0.0f), render::scaleMatrix(1.0f, -1.0f, 1.0f)),
        render::translationMatrix(0.0f, -h, 0.0f));
    const Mat4 envRotation = render::rotationY(envRotate * kDegreesToRadians);

    for (int pass = reflectionEnable ? 0 : 1; pass <= 1; ++pass) {
        const bool reflectionPass = pass == 0;
        SurfaceProgram& surface = reflectionPass ? reflectionSurface_ : modelSurface_;
        const GL_FrameBuffer& target = reflectionPass ? *dynamicReflectionBuffer : *channelBuffer;
        const ShaderProgram& program = surface.program;
        if (!reflectionPass) bindTexture(6, dynamicReflectionBuffer->textures[0]);

        clearTarget(target, 0.0f, 0.0f, 0.0f, 0.0f);
        clearDistances(target);

        glUseProgram(program.program);
        setFloat(program, "depthBase", flowDepthBase);
        setFloat(program, "iblDiffuseLevel", flowIblLevel);
        surface.binder.reset();
        // Units the materials leave alone start empty (they sample black),
        // whatever earlier nodes left bound.
        unbindUnits(kMetalnessUnit + 1);

        if (geometry) {
            glEnable(GL_DEPTH_TEST);
            setFloat(program, "i_environmentIntensity", refIntensity);
            setFloat(program, "i_environmentGamma", envGamma);
            setFloat(program, "i_iblIntensity", iblIntensity);
            setMatrix(program, "i_envrotate", envRotation);
            setFloat(program, "i_depthAlpha", depthAlpha);
            setFloat(program, "clipHeight", reflectionHeight);
            setMatrix(program, "cameraMatrix", camera.view);
            setMatrix(program, "projectionMatrix", camera.projection);
            glUniform3fv(UniformLocation(program, "cameraPosition"), 1, camera.position.data());
            bindTexture(5, environmentTexture ? environmentTexture->textures[0] : 0);
            drawSurfaces(surface, *geometry, camera, reflectionPass ? mirror : render::identityMatrix(),
                         reflectionPass, true);
            glDisable(GL_DEPTH_TEST);
        }
        glUseProgram(0);
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
    }
}

void ImageNode_PowerIlo::simplePass(const GeometryNode* geometry, const FrameCamera& camera) {
    glViewport(0, 0, 1920, 1080);
    clearTarget(*channelBuffer, 0.0f, 0.0f, 0.0f, 0.0f);
    static constexpr GLfloat kFar[4] = {0.0f, 0.0f, 0.0f, 9999.0f};
    glClearBufferfv(GL_COLOR, 1, kFar);
    // The program writes two channels; the others are not touched.
    static constexpr GLenum kTwoBuffers[2] = {GL_COLOR_ATTACHMENT0, GL_COLOR_ATTACHMENT1};
    glDrawBuffers(2, kTwoBuffers);

    const ShaderProgram& program = iloModelSimplePassShader;
    glUseProgram(program.program);
    setFloat(program, "depthBase", flowDepthBase);
    setFloat(program, "iblDiffuseLevel", flowIblLevel);
    glUniform1i(UniformLocation(program, "outputMode"), output == Uv ? 1 : 0);
    setFloat(program, "i_depthAlpha", depthAlpha);
    setMatrix(program, "cameraMatrix", camera.view);
    setMatrix(program, "projectionMatrix", camera.projection);
    simpleSurface_.binder.reset();
    unbindUnits(kAlbedoUnit + 1);
    if (geometry) {
        glEnable(GL_DEPTH_TEST);
        // The first vertexCount vertices, unindexed.
        drawSurfaces(simpleSurface_, *geometry, camera, render::identityMatrix(), false, false);
        glDisable(GL_DEPTH_TEST);
    }
    unbindUnits(kAlbedoUnit + 1);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void ImageNode_PowerIlo::drawRectangle(const ShaderProgram& program, const GL_FrameBuffer& target,
                                       const std::array<float, 4>& rectangle) {
    glViewport(0, 0, target.width, target.height);
    glUniform4fv(UniformLocation(program, "rectangle"), 1, rectangle.data());
    render::RenderToFrameBuffer(target, false);
}

void ImageNode_PowerIlo::indirectLightPass() {
    const int samples = sampleCount(giSamples);
    if (!giEnable || samples < 1) {
        clearTarget(*giBlurResult, 0.0f, 0.0f, 0.0f, 0.0f);
        return;
    }
    const ShaderProgram& gi = iloGIShader;
    clearTarget(*giResult, 0.0f, 0.0f, 0.0f, 0.0f);
    glUseProgram(gi.program);
    bindTexture(0, channelBuffer->textures[1]);
    bindTexture(1, channelBuffer->textures[2]);
    bindTexture(2, channelBuffer->textures[3]);
    glUniform1i(UniformLocation(gi, "SAMPLE_COUNT"), samples);
    setFloat(gi, "giIntensity", giIntensity);
    setFloat(gi, "giScale", giScale);
    setFloat(gi, "giBias", giBias);
    setFloat(gi, "giRadius", giRadius);
    setFloat(gi, "giMaxDistance", giMaxDistance);
    drawRectangle(gi, *giResult, kWholeTarget);
    unbindUnits(3);

    const ShaderProgram& blur = blurShader;
    glUseProgram(blur.program);
    setFloat(blur, "width", std::clamp(std::floor(giBlurDist), 0.0f, kMaxBlurWidth));
    clearTarget(*blurBuffer, 0.0f, 0.0f, 0.0f, 0.0f);
    bindTexture(1, channelBuffer->textures[1]);
    bindTexture(0, giResult->textures[0]);
    glUniform2f(UniformLocation(blur, "direction"), 1.0f / 960.0f, 0.0f);
    drawRectangle(blur, *blurBuffer, kWholeTarget);
    clearTarget(*giBlurResult, 0.0f, 0.0f, 0.0f, 0.0f);
    bindTexture(0, blurBuffer->textures[0]);
    glUniform2f(UniformLocation(blur, "direction"), 0.0f, 1.0f / 540.0f);
    drawRectangle(blur, *giBlurResult, kWholeTarget);
    unbindUnits(2);
    glUseProgram(0);
}

void ImageNode_PowerIlo::occlusionPass() {
    clearTarget(*aoResult, 1.0f, 0.0f, 0.0f, 0.0f);
    const int samples = sampleCount(aoSamples);
    if (!aoEnable || samples < 1) return;
    const ShaderProgram& ao = iloAOShader;
    glUseProgram(ao.program);
    bindTexture(0, channelBuffer->textures[1]);
    bindTexture(1, channelBuffer->textures[2]);
    glUniform1i(UniformLocation(ao, "SAMPLE_COUNT"), samples);
    setFloat(ao, "aoIntensity", aoIntensity);
    setFloat(ao, "aoScale", aoScale);
    setFloat(ao, "aoBias", aoBias);
    setFloat(ao, "aoRadius", aoRadius);
    setFloat(ao, "aoMaxDistance", aoMaxDist);
    drawRectangle(ao, *aoResult, kWholeTarget);
    unbindUnits(2);
    glUseProgram(0);
}

void ImageNode_PowerIlo::finalColourPass() {
    clearTarget(*outputBuffer, 0.0f, 0.0f, 0.0f, 0.0f);
    const std::vector<GLuint>& channels = channelBuffer->textures;
    if (output == Full) {
        const ShaderProgram& compose = iloComposeShader;
        glUseProgram(compose.program);
        const GLuint units[8] = {channels[0], channels[3], channels[4], channels[5], aoResult->textures[0],
                                 giBlurResult->textures[0], channels[6], channels[1]};
        for (int unit = 0; unit < 8; ++unit) bindTexture(unit, units[unit]);
        setFloat(compose, "giAdd", flowGiAdd);
        setFloat(compose, "aoMul", flowAoMult);
        drawRectangle(compose, *outputBuffer, outputRectangle);
    } else {
        const ShaderProgram& layer = iloOutputLayerShader;
        glUseProgram(layer.program);
        const GLuint units[11] = {channels[0], channels[1], channels[2], channels[3], channels[4], channels[5],
                                  aoResult->textures[0], giBlurResult->textures[0],
                                  environmentTexture ? environmentTexture->textures[0] : 0, channels[6],
                                  dynamicReflectionBuffer->textures[0]};
        for (int unit = 0; unit < 11; ++unit) bindTexture(unit, units[unit]);
        glUniform1i(UniformLocation(layer, "layerMode"), output);
        drawRectangle(layer, *outputBuffer, outputRectangle);
    }
    // The output is mip-mapped for consumers that sample it smaller; the chain
    // has to follow the new picture.
    glBindTexture(GL_TEXTURE_2D, outputBuffer->textures[0]);
    glGenerateMipmap(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, 0);
}

void ImageNode_PowerIlo::depthOfFieldPass() {
    const ShaderProgram& dof = iloDofShader;
    const float radius = std::clamp(dofRadius, 0.0f, kMaxDofRadius);
    clearTarget(*dofBuffer, 0.0f, 0.0f, 0.0f, 0.0f);
    glUseProgram(dof.program);
    setFloat(dof, "radius", radius);
    setFloat(dof, "start", std::min(dofStart, dofEnd));
    setFloat(dof, "end", std::max(dofStart, dofEnd));
    glUniform2f(UniformLocation(dof, "size"), radius / 1920.0f, radius / 1080.0f);
    bindTexture(1, channelBuffer->textures[1]);
    bindTexture(0, outputBuffer->textures[0]);
    drawRectangle(dof, *dofBuffer, outputRectangle);
}

}  // namespace vorn::nodes
