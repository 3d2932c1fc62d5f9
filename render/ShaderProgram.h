// Builds a GLSL program from up to three stage sources, binding vertex
// attributes by list position and the fragment output array "frag" element by
// element to colour numbers, so frag[i] lands in colour attachment i of the
// bound render target. Failures are logged (stage label, program label, the
// compiler's log) and reported only through `valid`; callers draw regardless.
#pragma once

#include <GL/glew.h>

#include <string>
#include <string_view>
#include <vector>

namespace vorn::render {

// Shared vertex attributes of every full-screen pass (the quads lay their
// vertices out for these locations).
inline constexpr GLuint kAttribVertex = 0;  // "vertex": clip-space xy
inline constexpr GLuint kAttribUv = 1;      // "uv": 0..1 across the quad

// Owns its GL program name; move-only.
class ShaderProgram {
public:
    ShaderProgram() = default;
    // A null source skips that stage. attributes[i] is bound to location i;
    // "frag[0]" ... "frag[fragmentOutputs-1]" to colour numbers 0 ... N-1.
    ShaderProgram(std::string_view label, const char* vertexSource, const char* geometrySource,
                  const char* fragmentSource, const std::vector<std::string>& attributes,
                  int fragmentOutputs);
    ~ShaderProgram();
    ShaderProgram(ShaderProgram&& other) noexcept;
    ShaderProgram& operator=(ShaderProgram&& other) noexcept;
    ShaderProgram(const ShaderProgram&) = delete;
    ShaderProgram& operator=(const ShaderProgram&) = delete;

    GLuint program = 0;
    bool valid = false;
};

// Location of a uniform, -1 when the program lacks it. Looked up at each use.
GLint UniformLocation(const ShaderProgram& program, const char* name);
GLint UniformLocation(GLuint program, const char* name);

}  // namespace vorn::render
