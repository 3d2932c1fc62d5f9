// What stands for the screen in a capture: a 1920x1080 8-bit RGBA render
// target that the player's frame is presented into, read back as the rows the
// screen would show, top row first, 8-bit RGB.
#pragma once

#include "render/GL_FrameBuffer.h"

#include <cstdint>
#include <vector>

namespace vorn::capture {

class ScreenTarget {
public:
    static constexpr int kWidth = 1920;
    static constexpr int kHeight = 1080;

    ScreenTarget();

    GLuint framebuffer() const { return target_.framebuffer; }
    // width * height * 3 bytes, the top of the screen first.
    void readRgb(std::vector<uint8_t>& pixels) const;

private:
    render::GL_FrameBuffer target_;
};

}  // namespace vorn::capture
