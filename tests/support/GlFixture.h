// The GL context of a test executable: one hidden 1920x1080 window made on
// first use and kept until the process ends, so every GL test shares it.
// Derive tests from GlTest; each starts with the default framebuffer bound, the
// full viewport, no program, blending and depth test off, and must leave no GL
// error behind.
#pragma once

#include "platform/GlWindow.h"

#include <GL/glew.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <ostream>
#include <string>
#include <vector>

namespace vorn::test {

// Null when no context could be made (the reason was reported).
platform::GlWindow* sharedGlWindow();

class GlTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
};

struct Rgba {
    uint8_t r = 0, g = 0, b = 0, a = 0;
    bool operator==(const Rgba&) const = default;
};
void PrintTo(const Rgba& pixel, std::ostream* out);

// True when every channel of a is within tolerance of b.
bool near(const Rgba& a, const Rgba& b, int tolerance);

// RGBA bytes of the rectangle from the current read framebuffer, in GL's order:
// the bottom row first, x and y counted from the bottom-left corner.
std::vector<uint8_t> readPixels(int x, int y, int width, int height);
Rgba readPixel(int x, int y);

// Compiles and links a program from GLSL sources, binding "vertex" to
// attribute 0 and "uv" to 1. Zero on failure, with the logs in *log.
GLuint buildProgram(const std::string& vertexSource, const std::string& fragmentSource, std::string* log = nullptr);

}  // namespace vorn::test
