#include "render/ShaderProgram.h"

#include "platform/Debug.h"

#include <string>
#include <utility>

namespace vorn::render {

namespace {

using platform::debugLine;
using platform::debugOutput;

// The info log of a shader or a program as GL reports it, without the
// terminating zero; the two kinds share the query signatures.
std::string infoLog(GLuint object, PFNGLGETSHADERIVPROC getParameter, PFNGLGETSHADERINFOLOGPROC getLog) {
    GLint length = 0;
    getParameter(object, GL_INFO_LOG_LENGTH, &length);
    std::string log(length > 0 ? length : 0, '\0');
    if (length > 0) getLog(object, length, nullptr, log.data());
    while (!log.empty() && log.back() == '\0') log.pop_back();
    return log;
}

struct Stage {
    GLenum type;
    const char* source;
    const char* logLabel;
};

}  // namespace

ShaderProgram::ShaderProgram(std::string_view label, const char* vertexSource,
                             const char* geometrySource, const char* fragmentSource,
                             const std::vector<std::string>& attributes, int fragmentOutputs) {
    program = glCreateProgram();
    valid = true;

    const Stage stages[] = {{GL_VERTEX_SHADER, vertexSource, "Vertex Shader::"},
                            {GL_GEOMETRY_SHADER, geometrySource, "Geometry Shader::"},
                            {GL_FRAGMENT_SHADER, fragmentSource, "Fragment Shader::"}};
    std::vector<GLuint> attached;
    for (const Stage& stage : stages) {
        if (!stage.source) continue;
        GLuint shader = glCreateShader(stage.type);
        glShaderSource(shader, 1, &stage.source, nullptr);
        glCompileShader(shader);
        GLint status = 0;
        glGetShaderiv(shader, GL_COMPILE_STATUS, &status);
        if (status == GL_TRUE) {
            glAttachShader(program, shader);
            attached.push_back(shader);
        } else {
            // Three pieces, one line: the compiler's multi-line log is folded.
            debugOutput(stage.logLabel);
            debugOutput(label);
            debugLine(infoLog(shader, glGetShaderiv, glGetShaderInfoLog));
            glDeleteShader(shader);
            valid = false;
        }
    }
    // Attached shaders are only flagged here; GL frees them with the program.
    for (GLuint shader : attached) glDeleteShader(shader);
    if (!valid) return;

    for (std::size_t i = 0; i < attributes.size(); ++i)
        glBindAttribLocation(program, GLuint(i), attributes[i].c_str());
    for (int i = 0; i < fragmentOutputs; ++i)
        glBindFragDataLocation(program, GLuint(i), ("frag[" + std::to_string(i) + "]").c_str());

    glLinkProgram(program);
    GLint status = 0;
    glGetProgramiv(program, GL_LINK_STATUS, &status);
    if (status == GL_TRUE) {
        debugOutput(label);
        debugOutput(" Successfully linked.\n");
    } else {
        debugOutput(label);
        debugLine(infoLog(program, glGetProgramiv, glGetProgramInfoLog));
        glDeleteProgram(program);
        program = 0;
        valid = false;
    }
}

ShaderProgram::~ShaderProgram() {
    if (program) glDeleteProgram(program);
}

ShaderProgram::ShaderProgram(ShaderProgram&& other) noexcept
    : program(std::exchange(other.program, 0)), valid(std::exchange(other.valid, false)) {}

ShaderProgram& ShaderProgram::operator=(ShaderProgram&& other) noexcept {
    if (this != &other) {
        if (program) glDeleteProgram(program);
        program = std::exchange(other.program, 0);
        valid = std::exchange(other.valid, false);
    }
    return *this;
}

GLint UniformLocation(const ShaderProgram& program, const char* name) {
    return UniformLocation(program.program, name);
}

GLint UniformLocation(GLuint program, const char* name) {
    if (!program) return -1;
    return glGetUniformLocation(program, name);
}

}  // namespace vorn::render
