#include "render/Quads.h"

#include <algorithm>

namespace vorn::render {

namespace {

struct QuadGeometry {
    GLuint vertexArray = 0;
    GLuint buffer = 0;
};

// Fills the bound vertex array with the quad, laid out for "vertex" and "uv".
void uploadQuad(GLuint buffer, const QuadVertices& vertices) {
    glBindBuffer(GL_ARRAY_BUFFER, buffer);
    glBufferData(GL_ARRAY_BUFFER, sizeof vertices, vertices.data(), GL_STATIC_DRAW);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float), nullptr);
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, 4 * sizeof(float),
                          reinterpret_cast<const void*>(2 * sizeof(float)));
}

// Created on first use and kept for the process: one GL context per process.
const QuadGeometry& cachedQuad(bool letterbox) {
    static QuadGeometry quads[2];
    QuadGeometry& quad = quads[letterbox ? 1 : 0];
    if (!quad.vertexArray) {
        glGenVertexArrays(1, &quad.vertexArray);
        glGenBuffers(1, &quad.buffer);
        glBindVertexArray(quad.vertexArray);
        uploadQuad(quad.buffer, letterbox ? kLetterboxQuad : kFullScreenQuad);
    }
    return quad;
}

}  // namespace

void SetDrawBuffers(const GL_FrameBuffer& target) {
    GLenum buffers[16];
    int count = std::clamp(target.textureCount(), 0, 16);
    for (int i = 0; i < count; ++i) buffers[i] = GLenum(GL_COLOR_ATTACHMENT0 + i);
    glDrawBuffers(count, buffers);
}

void RenderToFrameBuffer(const GL_FrameBuffer& target, bool letterbox) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    SetDrawBuffers(target);
    glBindVertexArray(cachedQuad(letterbox).vertexArray);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

void DrawImageQuad(const GL_Image& image) {
    int count = image.textureCount();
    for (int k = 0; k < count; ++k) {
        glActiveTexture(GLenum(GL_TEXTURE0 + k));
        glBindTexture(GL_TEXTURE_2D, image.textures[k]);
    }

    // The cached full-screen quad draws the same as a vertex array and buffer
    // made and deleted for this call, without creating GL objects every frame.
    glBindVertexArray(cachedQuad(false).vertexArray);
    glDrawArrays(GL_TRIANGLE_STRIP, 0, 4);
    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    UnbindImageTextures(image);
}

void UnbindImageTextures(const GL_Image& image) {
    for (int k = 0; k < image.textureCount(); ++k) {
        glActiveTexture(GLenum(GL_TEXTURE0 + k));
        glBindTexture(GL_TEXTURE_2D, 0);
    }
    glActiveTexture(GL_TEXTURE0);
}

}  // namespace vorn::render
