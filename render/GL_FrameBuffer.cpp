#include "render/GL_FrameBuffer.h"

#include "platform/Debug.h"

namespace vorn::render {

GL_FrameBuffer::GL_FrameBuffer(int width, int height, int count, int channelBits, GLenum format,
                               bool depth, bool mipmap)
    : channelBits(channelBits), format(format), depth(depth) {
    this->width = width;
    this->height = height;
    textures.assign(count > 0 ? count : 0, 0);

    glGenFramebuffers(1, &framebuffer);
    if (!textures.empty()) glGenTextures(GLsizei(textures.size()), textures.data());
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);

    if (depth) {
        glGenRenderbuffers(1, &depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, depthBuffer);
        glRenderbufferStorage(GL_RENDERBUFFER, GL_DEPTH_COMPONENT32, width, height);
        glFramebufferRenderbuffer(GL_FRAMEBUFFER, GL_DEPTH_ATTACHMENT, GL_RENDERBUFFER,
                                  depthBuffer);
        glBindRenderbuffer(GL_RENDERBUFFER, 0);
    }

    for (std::size_t i = 0; i < textures.size(); ++i) {
        glBindTexture(GL_TEXTURE_2D, textures[i]);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER,
                        mipmap ? GL_LINEAR_MIPMAP_LINEAR : GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_BORDER);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_BORDER);
        if (channelBits == 8)
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width, height, 0, GL_RGBA, GL_FLOAT, nullptr);
        else if (channelBits == 16)
            glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA16F, width, height, 0, GL_RGBA, GL_FLOAT,
                         nullptr);
        glFramebufferTexture2D(GL_FRAMEBUFFER, GLenum(GL_COLOR_ATTACHMENT0 + i), GL_TEXTURE_2D,
                               textures[i], 0);
        if (mipmap) glGenerateMipmap(GL_TEXTURE_2D);
    }
    glBindTexture(GL_TEXTURE_2D, 0);

    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE)
        platform::debugOutput("Unable to create frame buffer\n");
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

GL_FrameBuffer::~GL_FrameBuffer() {
    if (!textures.empty()) glDeleteTextures(GLsizei(textures.size()), textures.data());
    if (depthBuffer) glDeleteRenderbuffers(1, &depthBuffer);
    glDeleteFramebuffers(1, &framebuffer);
}

}  // namespace vorn::render
