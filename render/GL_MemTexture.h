// A texture uploaded from 8-bit RGB or RGBA rows held in memory (image files,
// scene layers, material maps): linear filtering with a full mip-map chain.
// Every upload adds its level-0 size to a process-wide total that is logged.
#pragma once

#include "render/GL_Image.h"

#include <cstdint>

namespace vorn::render {

class GL_MemTexture : public GL_Image {
public:
    // format is GL_RGB or GL_RGBA; pixels are tightly packed rows, top row first.
    GL_MemTexture(int width, int height, GLenum format, GLint wrapS, GLint wrapT,
                  const uint8_t* pixels);
    ~GL_MemTexture() override;
};

// Megabytes uploaded through GL_MemTexture so far; never decreases.
float textureMemoryConsumed();

}  // namespace vorn::render
