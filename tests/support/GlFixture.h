// One hidden 1920x1080 window and GL context per test executable, made on
// first use and kept until the process ends. A GlTest starts with the default
// framebuffer bound, the full viewport, no program, no blending or depth test,
// and must leave no GL error behind.
#pragma once

#include "platform/GlWindow.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <string>
#include <vector>

namespace vorn::test {

// Null when no context could be made (the reason was reported). Never
// destroyed: process exit releases it along with the X connection.
inline platform::GlWindow* sharedGlWindow() {
    static platform::GlWindow* window = platform::GlWindow::create(platform::WindowMode::Hidden).release();
    return window;
}

class GlTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::GlWindow* window = sharedGlWindow();
        ASSERT_NE(window, nullptr) << "no OpenGL context (is the X server running?)";
        window->makeCurrent();
        glBindFramebuffer(GL_FRAMEBUFFER, 0);
        glViewport(0, 0, window->width(), window->height());
        glUseProgram(0);
        glDisable(GL_BLEND);
        glDisable(GL_DEPTH_TEST);
        while (glGetError() != GL_NO_ERROR) {
        }
    }
    void TearDown() override {
        if (sharedGlWindow()) {
            EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
        }
    }
};

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};

inline void PrintTo(const Rgba& p, std::ostream* out) {
    *out << "(" << int(p.r) << ", " << int(p.g) << ", " << int(p.b) << ", " << int(p.a) << ")";
}

// True when every channel of a is within tolerance of b.
inline bool near(const Rgba& a, const Rgba& b, int tolerance) {
    auto close = [tolerance](uint8_t x, uint8_t y) { return std::abs(int(x) - int(y)) <= tolerance; };
    return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b) && close(a.a, b.a);
}

// RGBA bytes of the rectangle from the current read framebuffer, in GL's order:
// the bottom row first, x and y counted from the bottom-left corner.
inline std::vector<uint8_t> readPixels(int x, int y, int width, int height) {
    std::vector<uint8_t> pixels(std::size_t(width) * std::size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

inline Rgba readPixel(int x, int y) {
    auto bytes = readPixels(x, y, 1, 1);
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

// Compiles and links a program, binding "vertex" to attribute 0 and "uv" to 1.
// Zero on failure (a stage that does not compile fails the link); the
// compiler's and linker's logs go to *log.
inline GLuint buildProgram(const std::string& vertexSource, const std::string& fragmentSource,
                           std::string* log = nullptr) {
    char text[4096] = {};
    GLuint program = glCreateProgram();
    for (auto [stage, source] : {std::pair{GL_VERTEX_SHADER, &vertexSource}, {GL_FRAGMENT_SHADER, &fragmentSource}}) {
        GLuint shader = glCreateShader(stage);
        const char* lines = source->c_str();
        glShaderSource(shader, 1, &lines, nullptr);
        glCompileShader(shader);
        glGetShaderInfoLog(shader, sizeof text, nullptr, text);
        if (log) *log += text;
        glAttachShader(program, shader);
        glDeleteShader(shader);  // freed with the program
    }
    glBindAttribLocation(program, 0, "vertex");
    glBindAttribLocation(program, 1, "uv");
    glLinkProgram(program);
    GLint linked = GL_FALSE;
    glGetProgramiv(program, GL_LINK_STATUS, &linked);
    glGetProgramInfoLog(program, sizeof text, nullptr, text);
    if (log) *log += text;
    if (linked) return program;
    glDeleteProgram(program);
    return 0;
}

}  // namespace vorn::test
