// Reading one colour attachment of a render target back, as bytes or floats
// (16-bit targets hold values outside 0..1). Rows come bottom-up, as GL has them.
#pragma once

#include <GL/glew.h>

#include <cstdint>
#include <vector>

namespace vorn::test {

inline void readAttachment(GLuint framebuffer, int attachment, int x, int y, int w, int h, GLenum type, void* out) {
    GLint previous = 0;
    glGetIntegerv(GL_READ_FRAMEBUFFER_BINDING, &previous);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, framebuffer);
    glReadBuffer(GLenum(GL_COLOR_ATTACHMENT0 + attachment));
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, w, h, GL_RGBA, type, out);
    glBindFramebuffer(GL_READ_FRAMEBUFFER, GLuint(previous));
}

inline std::vector<uint8_t> readAttachment8(GLuint framebuffer, int attachment, int x, int y, int w, int h) {
    std::vector<uint8_t> pixels(std::size_t(w) * h * 4);
    readAttachment(framebuffer, attachment, x, y, w, h, GL_UNSIGNED_BYTE, pixels.data());
    return pixels;
}

inline std::vector<float> readAttachmentFloat(GLuint framebuffer, int attachment, int x, int y, int w, int h) {
    std::vector<float> pixels(std::size_t(w) * h * 4);
    readAttachment(framebuffer, attachment, x, y, w, h, GL_FLOAT, pixels.data());
    return pixels;
}

}  // namespace vorn::test
