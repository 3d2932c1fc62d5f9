#include "nodes/image/Shader.h"

#include "engine/Engine.h"
#include "nodes/image/effect.vert.glsl.h"
#include "render/Quads.h"

#include <algorithm>
#include <cmath>

namespace vorn::nodes {

namespace {

constexpr int kTargetWidth = 1920;
constexpr int kTargetHeight = 1080;

// Texture units an input may use: GL 3.3 promises at least 48 combined.
GLint textureUnitLimit() {
    static GLint limit = [] {
        GLint units = 0;
        glGetIntegerv(GL_MAX_COMBINED_TEXTURE_IMAGE_UNITS, &units);
        return units > 0 ? units : 48;
    }();
    return limit;
}

}  // namespace

int32_t truncateToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483648.0f) return INT32_MAX;  // 2^31 and beyond
    if (value <= -2147483648.0f) return INT32_MIN;
    return int32_t(value);
}

ImageNode_Shader::ImageNode_Shader(engine::Engine& owner, std::string name, const ShaderDescription& source)
    : ImageNode(owner, std::move(name)), description(source) {
    setInputCount(int32_t(description.inputNames.size()));
    inputNames = description.inputNames;
    registerParameters();
    owner.addBool(*this, "Cinemascope", &cinemascope, false);

    target_ = std::make_unique<render::GL_FrameBuffer>(kTargetWidth, kTargetHeight, 1, 16, GL_RGBA, false, false);
    images[0] = target_.get();

    if (description.sourceMissing) {
        // The description named a library source that does not exist (reported
        // when it was parsed); there is nothing to compile.
        program = std::make_unique<render::ShaderProgram>();
    } else {
        program = std::make_unique<render::ShaderProgram>(description.name, glsl_effect_vert, nullptr,
                                                          description.source.c_str(),
                                                          std::vector<std::string>{"vertex", "uv"}, 1);
    }
    hasError = !program->valid;
    if (program->valid) findUniforms();
}

ImageNode_Shader::~ImageNode_Shader() = default;

void ImageNode_Shader::registerParameters() {
    engine::Engine& engine = *owner;
    for (ShaderParam& param : description.parameters) {
        switch (param.kind) {
            case ShaderParam::Float:
                engine.addFloat(*this, param.name, &param.value, param.minimum, param.maximum, 3, param.defaultValue,
                                param.clamp != 0);
                break;
            case ShaderParam::IntFloat:
                engine.addFloat(*this, param.name, &param.value, param.minimum, param.maximum, 0, param.defaultValue,
                                true);
                break;
            case ShaderParam::Choice:
                engine.addInt(*this, param.name, &param.choice, param.choice, param.choices);
                break;
            case ShaderParam::Direction:
                engine.addVec2(*this, param.name, param.direction, {param.direction[0], param.direction[1]},
                               engine::Vec2Style::Direction);
                break;
            case ShaderParam::Position:
                engine.addVec2(*this, param.name, param.position, {param.position[0], param.position[1]},
                               engine::Vec2Style::Position);
                break;
            case ShaderParam::Colour:
                engine.addVec4(*this, param.name, param.colour,
                               {param.colour[0], param.colour[1], param.colour[2], param.colour[3]});
                break;
            case ShaderParam::SyncTrack: {
                // Not a saved parameter: the sync tracker drives it once connected.
                param.value = param.defaultValue;
                bool known = std::any_of(syncTracks.begin(), syncTracks.end(),
                                         [&](const auto& entry) { return entry.first == param.name; });
                if (!known) syncTracks.emplace_back(param.name, &param.value);
                break;
            }
            default:  // an index the file never declared
                break;
        }
    }
}

void ImageNode_Shader::findUniforms() {
    GLuint id = program->program;
    uniforms_.effect = EffectUniforms(id);
    for (int i = 0; i < inputCount; ++i) {
        std::string matrixName = "textureMatrix_Input[" + std::to_string(i) + "]";
        uniforms_.inputMatrices.emplace_back(id, matrixName.c_str());
        uniforms_.samplers.emplace_back(id, inputNames[std::size_t(i)].c_str());
    }
    for (const ShaderParam& param : description.parameters)
        uniforms_.parameters.push_back(param.kind == ShaderParam::None ? CachedUniform()
                                                                        : CachedUniform(id, param.name.c_str()));
}

bool ImageNode_Shader::acceptsInput(int32_t index, const engine::Node& source) const { return isImageNode(&source); }

// Empty slots take the picture of the input's slot of the same index, so
// slots 1-3 show input 0's main picture. They are refilled every frame: a
// slot kept from an earlier frame could name an image its node has since
// replaced or a node that has been deleted.
void ImageNode_Shader::borrowInputSlots() {
    for (int slot = 1; slot < kSlotCount; ++slot) images[slot] = nullptr;
    for (int i = 0; i < inputCount; ++i) {
        ImageNode* input = imageInput(*this, i);
        if (!input) continue;
        render::GL_Image* picture = i < kSlotCount ? input->images[i] : nullptr;
        for (render::GL_Image*& slot : images)
            if (!slot) slot = picture;
    }
}

bool ImageNode_Shader::process() {
    programBound_ = false;
    borrowInputSlots();
    // A program that failed to build draws nothing; setting its uniforms would only raise GL errors.
    if (!owner->drawingEnabled || !program->valid) return true;

    glUseProgram(program->program);
    if (images[0]) uniforms_.effect.set(textureMatrix, owner->time, *images[0]);
    bindInputs();
    setParameterUniforms();
    // Left bound: render follows at once and draws with it.
    programBound_ = true;
    return true;
}

// Input i uses texture unit i; an image with several textures spreads over the
// units after it.
void ImageNode_Shader::bindInputs() {
    GLint activeUnit = 0;
    auto bindTextureOn = [&](GLint unit, GLuint texture) {
        if (unit >= textureUnitLimit()) return;
        glActiveTexture(GLenum(GL_TEXTURE0 + unit));
        glBindTexture(GL_TEXTURE_2D, texture);
        activeUnit = unit;
    };
    for (int i = 0; i < inputCount; ++i) {
        GLint unit = i;
        CachedUniform& matrix = uniforms_.inputMatrices[std::size_t(i)];
        if (ImageNode* input = imageInput(*this, i)) {
            matrix.setMatrix4(input->textureMatrix.data());
            std::size_t typeIndex = std::size_t(i);
            int32_t slot = typeIndex < description.inputTypes.size() ? description.inputTypes[typeIndex] : 0;
            const render::GL_Image* picture = input->images[std::size_t(std::clamp(slot, 0, kSlotCount - 1))];
            // An image without textures is no picture either: the unit must not keep another pass's texture.
            if (!picture || picture->textureCount() == 0) {
                bindTextureOn(unit, 0);
            } else {
                for (int k = 0; k < picture->textureCount(); ++k)
                    bindTextureOn(unit + k, picture->textures[std::size_t(k)]);
            }
        } else {
            matrix.setMatrix4(render::identityMatrix().data());
            bindTextureOn(unit, 0);
        }
        uniforms_.samplers[std::size_t(i)].set1i(unit);
    }
    // Unit 0 is left active, as every other pass leaves it.
    if (activeUnit != 0) glActiveTexture(GL_TEXTURE0);
}

void ImageNode_Shader::setParameterUniforms() {
    for (std::size_t i = 0; i < description.parameters.size(); ++i) {
        const ShaderParam& param = description.parameters[i];
        CachedUniform& uniform = uniforms_.parameters[i];
        switch (param.kind) {
            case ShaderParam::Float:
            case ShaderParam::SyncTrack:
                uniform.set1f(param.value);
                break;
            case ShaderParam::IntFloat:
                uniform.set1i(truncateToInt(param.value));
                break;
            case ShaderParam::Choice:
                uniform.set1i(param.choice);
                break;
            case ShaderParam::Direction:
                uniform.set2f(param.direction[0], param.direction[1]);
                break;
            case ShaderParam::Position:
                uniform.set2f(param.position[0], param.position[1]);
                break;
            case ShaderParam::Colour:
                uniform.set4fv(param.colour);
                break;
            default:
                break;
        }
    }
}

bool ImageNode_Shader::render() {
    if (!target_ || images[0] != target_.get() || !program->valid) return true;
    // Bound already unless process did not draw this time (the engine was not drawing).
    if (!programBound_) glUseProgram(program->program);
    programBound_ = false;
    // Not cleared first: with "Cinemascope" the bands keep what they held.
    render::RenderToFrameBuffer(*target_, cinemascope);
    return true;
}

void ImageNode_Shader::bindSyncTracks() {
    for (const auto& [trackName, value] : syncTracks) owner->bindFloat(trackName, value);
}

}  // namespace vorn::nodes
