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

void bindTexture(GLint unit, GLuint texture) {
    if (unit >= textureUnitLimit()) return;
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    glBindTexture(GL_TEXTURE_2D, texture);
}

std::string inputMatrixName(std::size_t index) { return "textureMatrix_Input[" + std::to_string(index) + "]"; }

}  // namespace

int32_t truncateToInt(float value) {
    if (std::isnan(value)) return 0;
    if (value >= 2147483520.0f) return INT32_MAX;  // the largest float below 2^31
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
    borrowInputSlots();
    // A program that failed to build draws nothing; setting its uniforms would only raise GL errors.
    if (!owner->drawingEnabled || !program->valid) return true;

    glUseProgram(program->program);
    if (images[0]) {
        const render::GL_Image& output = *images[0];
        glUniformMatrix4fv(render::UniformLocation(*program, "textureMatrix"), 1, GL_FALSE, textureMatrix.data());
        glUniform1f(render::UniformLocation(*program, "ng_time"), owner->time);
        glUniform1f(render::UniformLocation(*program, "ng_aspectRatio"), float(output.width) / float(output.height));
        glUniform2f(render::UniformLocation(*program, "ng_sampleSize"), 1.0f / float(output.width),
                    1.0f / float(output.height));
    }
    bindInputs();
    setParameterUniforms();
    glUseProgram(0);
    return true;
}

// Input i uses texture unit i; an image with several textures spreads over the
// units after it.
void ImageNode_Shader::bindInputs() {
    for (int i = 0; i < inputCount; ++i) {
        GLint unit = i;
        std::string matrixName = inputMatrixName(std::size_t(i));
        if (ImageNode* input = imageInput(*this, i)) {
            glUniformMatrix4fv(render::UniformLocation(*program, matrixName.c_str()), 1, GL_FALSE,
                               input->textureMatrix.data());
            std::size_t typeIndex = std::size_t(i);
            int32_t slot = typeIndex < description.inputTypes.size() ? description.inputTypes[typeIndex] : 0;
            const render::GL_Image* picture = input->images[std::size_t(std::clamp(slot, 0, kSlotCount - 1))];
            if (!picture) {
                bindTexture(unit, 0);
            } else {
                for (int k = 0; k < picture->textureCount(); ++k) bindTexture(unit + k, picture->textures[std::size_t(k)]);
            }
        } else {
            glUniformMatrix4fv(render::UniformLocation(*program, matrixName.c_str()), 1, GL_FALSE,
                               render::identityMatrix().data());
            bindTexture(unit, 0);
        }
        glUniform1i(render::UniformLocation(*program, inputNames[std::size_t(i)].c_str()), unit);
    }
    glActiveTexture(GL_TEXTURE0);
}

void ImageNode_Shader::setParameterUniforms() {
    for (const ShaderParam& param : description.parameters) {
        if (param.kind == ShaderParam::None) continue;
        GLint location = render::UniformLocation(*program, param.name.c_str());
        switch (param.kind) {
            case ShaderParam::Float:
            case ShaderParam::SyncTrack:
                glUniform1f(location, param.value);
                break;
            case ShaderParam::IntFloat:
                glUniform1i(location, truncateToInt(param.value));
                break;
            case ShaderParam::Choice:
                glUniform1i(location, param.choice);
                break;
            case ShaderParam::Direction:
                glUniform2f(location, param.direction[0], param.direction[1]);
                break;
            case ShaderParam::Position:
                glUniform2f(location, param.position[0], param.position[1]);
                break;
            case ShaderParam::Colour:
                glUniform4fv(location, 1, param.colour);
                break;
            default:
                break;
        }
    }
}

bool ImageNode_Shader::render() {
    if (!target_ || images[0] != target_.get() || !program->valid) return true;
    // Not cleared first: with "Cinemascope" the bands keep what they held.
    glUseProgram(program->program);
    render::RenderToFrameBuffer(*target_, cinemascope);
    glUseProgram(0);
    return true;
}

void ImageNode_Shader::bindSyncTracks() {
    for (const auto& [trackName, value] : syncTracks) owner->bindFloat(trackName, value);
}

}  // namespace vorn::nodes
