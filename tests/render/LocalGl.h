// Temporary: one hidden window's GL context for this test executable and
// read-back helpers, until the shared GL fixture is available.
#pragma once

#include "platform/GlWindow.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

namespace vorn::test {

inline bool ensureGl() {
    static std::unique_ptr<platform::GlWindow> window = platform::GlWindow::create(platform::WindowMode::Hidden);
    return window != nullptr;
}

// Pixels of colour attachment `attachment` of framebuffer, rows bottom-up.
inline std::vector<uint8_t> readRgba8(GLuint framebuffer, int attachment, int x, int y, int w, int h) {
    std::vector<uint8_t> pixels(std::size_t(w) * h * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0 + attachment);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, w, h, GL_RGBA, GL_UNSIGNED_BYTE, pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return pixels;
}

inline std::vector<float> readRgbaFloat(GLuint framebuffer, int attachment, int x, int y, int w, int h) {
    std::vector<float> pixels(std::size_t(w) * h * 4);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadBuffer(GL_COLOR_ATTACHMENT0 + attachment);
    glReadPixels(x, y, w, h, GL_RGBA, GL_FLOAT, pixels.data());
    glBindFramebuffer(GL_READ_FRAMEBUFFER, 0);
    return pixels;
}

}  // namespace vorn::test

#define REQUIRE_GL() \
    if (!::vorn::test::ensureGl()) GTEST_FAIL() << "no GL context"
