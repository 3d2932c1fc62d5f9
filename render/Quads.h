// Drawing the full-screen passes. Every 2D pass draws a four-vertex triangle
// strip of (x, y, u, v) vertices: attribute 0 = (x, y), attribute 1 = (u, v).
// The caller binds the program, its uniforms and textures; these functions
// bind the target and the geometry only (no clearing, no blending state).
#pragma once

#include "render/GL_FrameBuffer.h"

#include <array>

namespace vorn::render {

using QuadVertices = std::array<float, 16>;

inline constexpr QuadVertices kFullScreenQuad = {
    1, 1, 1, 1,  1, -1, 1, 0,  -1, 1, 0, 1,  -1, -1, 0, 0,
};

// The middle 2.35:1 band of a 16:9 target, sampling the matching band of the
// source; the top and bottom 12.2 % are not touched.
inline constexpr QuadVertices kLetterboxQuad = {
    1, 0.756f, 1, 0.8782f,  1, -0.756f, 1, 0.1218f,  -1, 0.756f, 0, 0.8782f,  -1, -0.756f, 0, 0.1218f,
};

// Makes colour attachments 0 ... count-1 (at most 16) of the bound framebuffer
// the draw buffers.
void SetDrawBuffers(const GL_FrameBuffer& target);

// Binds the target, activates its attachments and draws the letterbox or the
// full-screen quad from geometry cached for the life of the GL context, then
// unbinds vertex array, array buffer and framebuffer.
void RenderToFrameBuffer(const GL_FrameBuffer& target, bool letterbox);

// Binds texture k of the image to unit k, draws the cached full-screen quad
// into the bound framebuffer and unbinds the units again (unit 0 is left active).
void DrawImageQuad(const GL_Image& image);

// Unbinds units 0 .. textureCount-1, where an image's textures were bound,
// and leaves unit 0 active.
void UnbindImageTextures(const GL_Image& image);

}  // namespace vorn::render
