// A render target: `count` colour textures (8-bit RGBA or 16-bit float RGBA),
// texture i on colour attachment i, optionally a 32-bit depth renderbuffer.
// An incomplete target is logged and still usable (drawing into it does
// nothing), so the frame goes on.
#pragma once

#include "render/GL_Image.h"

namespace vorn::render {

class GL_FrameBuffer : public GL_Image {
public:
    // channelBits 8 or 16 (any other value allocates no storage); format is
    // stored only, the targets are always RGBA.
    GL_FrameBuffer(int width, int height, int count, int channelBits, GLenum format, bool depth,
                   bool mipmap);
    ~GL_FrameBuffer() override;

    int channelBits = 8;
    GLenum format = GL_RGBA;
    bool depth = false;
    GLuint framebuffer = 0;
    GLuint depthBuffer = 0;
};

}  // namespace vorn::render
