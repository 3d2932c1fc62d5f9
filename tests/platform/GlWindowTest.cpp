// The context every rendering test stands on: made by the shared GL fixture
// (a hidden GlWindow), checked by drawing and reading pixels back.
#include "platform/GlWindow.h"

#include "platform/Debug.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

namespace vorn::platform {
namespace {

using test::Rgba;

class GlWindowTest : public test::GlTest {};

TEST_F(GlWindowTest, ContextIsVersion31OrLaterWithDepthAndLoadedEntryPoints) {
    GlWindow* window = test::sharedGlWindow();
    EXPECT_GE(window->glMajorVersion() * 10 + window->glMinorVersion(), 31);
    EXPECT_GE(window->depthBits(), 24);
    EXPECT_EQ(window->width(), 1920);
    EXPECT_EQ(window->height(), 1080);
    EXPECT_NE(glCreateShader, nullptr);  // loaded by GLEW
    EXPECT_NE(glGenFramebuffers, nullptr);
    GLint depth = 0;
    glGetIntegerv(GL_DEPTH_BITS, &depth);
    EXPECT_GE(depth, 24);
}

TEST_F(GlWindowTest, ClearedColourReadsBack) {
    glClearColor(0.2f, 0.4f, 0.6f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT);
    // 0.2 * 255 = 51, 0.4 * 255 = 102, 0.6 * 255 = 153.
    EXPECT_TRUE(test::near(test::readPixel(0, 0), Rgba{51, 102, 153, 255}, 1)) << ::testing::PrintToString(test::readPixel(0, 0));
    EXPECT_TRUE(test::near(test::readPixel(1919, 1079), Rgba{51, 102, 153, 255}, 1));
}

TEST_F(GlWindowTest, ProgramDrawsWhereItsVerticesSay) {
    std::string log;
    GLuint program = test::buildProgram(
        "#version 330 core\nin vec2 vertex;\nvoid main() { gl_Position = vec4(vertex, 0.0, 1.0); }\n",
        "#version 330 core\nout vec4 frag[1];\nuniform vec4 color;\nvoid main() { frag[0] = color; }\n", &log);
    ASSERT_NE(program, 0u) << log;

    // The lower-left quarter of clip space: x and y from -1 to 0.
    const float quad[] = {-1, -1, 0, -1, -1, 0, 0, 0};
    GLuint vao = 0, buffer = 0;
    glGenVertexArrays(1, &vao);
    glBindVertexArray(vao);
    glGenBuffers(1, &buffer);
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof quad, quad, GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 0, nullptr);

    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(program);
    glUniform4f(glGetUniformLocation(program, "color"), 1.0f, 0.5f, 0.0f, 1.0f);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);

    // Window y counts from the bottom, so the quad covers x < 960 and y < 540.
    EXPECT_TRUE(test::near(test::readPixel(480, 270), Rgba{255, 128, 0, 255}, 1));
    EXPECT_EQ(test::readPixel(1440, 270), (Rgba{0, 0, 0, 255}));
    EXPECT_EQ(test::readPixel(480, 810), (Rgba{0, 0, 0, 255}));
    auto row = test::readPixels(958, 100, 4, 1);  // the quad's right edge falls between 959 and 960
    EXPECT_EQ(row[4], 255);
    EXPECT_EQ(row[8], 0);

    glUseProgram(0);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glDeleteBuffers(1, &buffer);
    glDeleteVertexArrays(1, &vao);
    glDeleteProgram(program);
}

TEST_F(GlWindowTest, RenderTargetsWorkAndReadBack) {
    GLuint texture = 0, framebuffer = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, 8, 8, 0, GL_RGBA, GL_FLOAT, nullptr);
    glGenFramebuffers(1, &framebuffer);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, texture, 0);
    ASSERT_EQ(glCheckFramebufferStatus(GL_FRAMEBUFFER), GLenum(GL_FRAMEBUFFER_COMPLETE));
    glViewport(0, 0, 8, 8);
    glClearColor(0.0f, 1.0f, 0.0f, 0.5f);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_TRUE(test::near(test::readPixel(7, 7), Rgba{0, 255, 0, 128}, 1));
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    glDeleteFramebuffers(1, &framebuffer);
    glDeleteTextures(1, &texture);
}

TEST_F(GlWindowTest, ASecondWindowComesAndGoesWithoutDisturbingTheShared) {
    {
        auto windowed = GlWindow::create(WindowMode::Windowed);
        ASSERT_NE(windowed, nullptr);
        EXPECT_FALSE(windowed->fullscreen());
        glClearColor(1, 1, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        windowed->swapBuffers();
    }
    test::sharedGlWindow()->makeCurrent();
    glClearColor(0, 0, 1, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    EXPECT_EQ(test::readPixel(5, 5), (Rgba{0, 0, 255, 255}));
}

}  // namespace
}  // namespace vorn::platform
