// The context every rendering test stands on, made by the shared GL fixture
// (a hidden GlWindow); drawing into it is what the render tests check.
#include "platform/GlWindow.h"

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
