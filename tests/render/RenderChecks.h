// What the render tests share: a vertex stage handing the quad's uv on, one
// pass over a whole target, and reading a colour attachment back.
#pragma once

#include "render/GL_FrameBuffer.h"
#include "render/Quads.h"
#include "render/ShaderProgram.h"
#include "tests/render/ReadBack.h"

namespace vorn::test {

inline constexpr const char* kUvVertex = "#version 330 core\nin vec4 vertex;\nin vec2 uv;\nout vec2 texcoord;\n"
                                         "void main() { texcoord = uv; gl_Position = vec4(vertex.xy, 0.0, 1.0); }\n";

inline void drawPass(const render::ShaderProgram& program, const render::GL_FrameBuffer& target,
                     bool letterbox = false) {
    glViewport(0, 0, target.width, target.height);
    glUseProgram(program.program);
    render::RenderToFrameBuffer(target, letterbox);
    glUseProgram(0);
}

}  // namespace vorn::test
