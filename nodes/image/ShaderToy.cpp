#include "nodes/image/ShaderToy.h"

#include "engine/Engine.h"
#include "nodes/image/shadertoy.vert.glsl.h"
#include "platform/Debug.h"
#include "platform/Paths.h"
#include "render/Quads.h"

#include <cstdio>

namespace vorn::nodes {

ImageNode_ShaderToy::ImageNode_ShaderToy(engine::Engine& owner, std::string name)
    : ImageNode(owner, std::move(name)) {
    owner.addString(*this, "Source", &sourcePath, "");
    owner.addBool(*this, "Reload", &reload, false);
    owner.addVec2(*this, "PosGrab", posGrab, {0.5f, 0.5f}, engine::Vec2Style::Position);
    target_ = std::make_unique<render::GL_FrameBuffer>(1920, 1080, 1, 16, GL_RGBA, false, false);
    images[0] = target_.get();
}

ImageNode_ShaderToy::~ImageNode_ShaderToy() = default;

bool ImageNode_ShaderToy::acceptsInput(int32_t index, const engine::Node& source) const {
    return isImageNode(&source);
}

void ImageNode_ShaderToy::report(const std::string& problem) {
    if (problem == lastProblem_) return;
    lastProblem_ = problem;
    platform::debugLine(platform::shortenMiddle(name) + ": " + problem);
}

void ImageNode_ShaderToy::reloadSource() {
    std::string whyNot;
    std::FILE* file = platform::openFile(sourcePath, "rb", &whyNot);
    if (!file) {
        // The file has gone: no program, so the output turns red.
        program.reset();
        builtSource_.clear();
        report("cannot open shader source \"" + platform::displayPath(sourcePath) + "\": " + whyNot);
        return;
    }
    long size = -1;
    if (std::fseek(file, 0, SEEK_END) == 0) size = std::ftell(file);
    if (size > kMaxSourceBytes) {
        std::fclose(file);
        // Refused whole rather than cut off mid-statement; the last program stays.
        report("shader source \"" + platform::displayPath(sourcePath) + "\" is " + std::to_string(size) + " bytes, more than " +
               std::to_string(kMaxSourceBytes) + "; not loaded");
        return;
    }
    std::string text;
    if (size > 0) {
        text.resize(std::size_t(size));
        std::rewind(file);
        text.resize(std::fread(text.data(), 1, text.size(), file));
    }
    std::fclose(file);
    lastProblem_.clear();

    // The same text builds the same program: keep the one there is.
    if (program && text == builtSource_) return;
    builtSource_ = text;
    program = std::make_unique<render::ShaderProgram>(name, glsl_shadertoy_vert, nullptr, text.c_str(),
                                                      std::vector<std::string>{"vertex", "uv"}, 1);
    uniforms_ = EffectUniforms(program->valid ? program->program : 0);
}

bool ImageNode_ShaderToy::process() {
    if (!owner->drawingEnabled) return true;
    if (reload) reloadSource();
    if (!program) return false;
    // A program that failed to build stays in place but draws nothing.
    if (images[0] && program->valid) {
        glUseProgram(program->program);
        uniforms_.set(textureMatrix, owner->time, *images[0]);
    }
    return true;
}

bool ImageNode_ShaderToy::render() {
    if (!target_ || images[0] != target_.get()) return true;
    if (program) {
        if (program->valid) {
            glUseProgram(program->program);
            render::RenderToFrameBuffer(*target_, false);
        }
    } else {
        glBindFramebuffer(GL_FRAMEBUFFER, target_->framebuffer);
        glClearColor(1.0f, 0.0f, 0.0f, 1.0f);  // and it stays the clear colour
        glClear(GL_COLOR_BUFFER_BIT);
    }
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return true;
}

}  // namespace vorn::nodes
