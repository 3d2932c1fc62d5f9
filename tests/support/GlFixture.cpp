#include "tests/support/GlFixture.h"

#include <cstdlib>

namespace vorn::test {

platform::GlWindow* sharedGlWindow() {
    // Never destroyed: the context must outlive every test, and process exit
    // releases the window along with the X connection.
    static platform::GlWindow* window = platform::GlWindow::create(platform::WindowMode::Hidden).release();
    return window;
}

void GlTest::SetUp() {
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

void GlTest::TearDown() {
    if (sharedGlWindow()) {
        EXPECT_EQ(glGetError(), GLenum(GL_NO_ERROR));
    }
}

void PrintTo(const Rgba& pixel, std::ostream* out) {
    *out << "(" << int(pixel.r) << ", " << int(pixel.g) << ", " << int(pixel.b) << ", " << int(pixel.a) << ")";
}

bool near(const Rgba& a, const Rgba& b, int tolerance) {
    auto close = [tolerance](uint8_t x, uint8_t y) { return std::abs(int(x) - int(y)) <= tolerance; };
    return close(a.r, b.r) && close(a.g, b.g) && close(a.b, b.b) && close(a.a, b.a);
}

std::vector<uint8_t> readPixels(int x, int y, int width, int height) {
    std::vector<uint8_t> pixels(std::size_t(width) * std::size_t(height) * 4);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

Rgba readPixel(int x, int y) {
    auto bytes = readPixels(x, y, 1, 1);
    return {bytes[0], bytes[1], bytes[2], bytes[3]};
}

namespace {

GLuint compileStage(GLenum stage, const std::string& source, std::string* log) {
    GLuint shader = glCreateShader(stage);
    const char* text = source.c_str();
    glShaderSource(shader, 1, &text, nullptr);
    glCompileShader(shader);
    GLint ok = GL_FALSE;
    glGetShaderiv(shader, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char buffer[4096] = {};
        glGetShaderInfoLog(shader, sizeof buffer, nullptr, buffer);
        if (log) *log += buffer;
        glDeleteShader(shader);
        return 0;
    }
    return shader;
}

}  // namespace

GLuint buildProgram(const std::string& vertexSource, const std::string& fragmentSource, std::string* log) {
    GLuint vertex = compileStage(GL_VERTEX_SHADER, vertexSource, log);
    GLuint fragment = compileStage(GL_FRAGMENT_SHADER, fragmentSource, log);
    GLuint program = 0;
    if (vertex && fragment) {
        program = glCreateProgram();
        glAttachShader(program, vertex);
        glAttachShader(program, fragment);
        glBindAttribLocation(program, 0, "vertex");
        glBindAttribLocation(program, 1, "uv");
        glLinkProgram(program);
        GLint ok = GL_FALSE;
        glGetProgramiv(program, GL_LINK_STATUS, &ok);
        if (!ok) {
            char buffer[4096] = {};
            glGetProgramInfoLog(program, sizeof buffer, nullptr, buffer);
            if (log) *log += buffer;
            glDeleteProgram(program);
            program = 0;
        }
    }
    if (vertex) glDeleteShader(vertex);
    if (fragment) glDeleteShader(fragment);
    return program;
}

}  // namespace vorn::test
