#include "render/GL_MemTexture.h"

#include "platform/Debug.h"

#include <cstdio>

namespace vorn::render {

namespace {
float textureMemoryTotal = 0.0f;
}

GL_MemTexture::GL_MemTexture(int width, int height, GLenum format, GLint wrapS, GLint wrapT,
                             const uint8_t* pixels) {
    this->width = width;
    this->height = height;
    textures.assign(1, 0);

    glActiveTexture(GL_TEXTURE0);
    glGenTextures(1, textures.data());
    glBindTexture(GL_TEXTURE_2D, textures[0]);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_LINEAR_MIPMAP_LINEAR);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, wrapS);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, wrapT);
    // Rows are tightly packed; RGB rows of odd widths are not 4-byte aligned.
    glPixelStorei(GL_UNPACK_ALIGNMENT, 1);
    glTexImage2D(GL_TEXTURE_2D, 0, GLint(format), width, height, 0, format, GL_UNSIGNED_BYTE,
                 pixels);
    glGenerateMipmap(GL_TEXTURE_2D);

    long long bytes = (long long)width * height * (format == GL_RGB ? 3 : 4);
    textureMemoryTotal += float(bytes) / 1024.0f / 1024.0f;
    char line[256];
    std::snprintf(line, sizeof line, "Texture Memory Consumed (non MM): %.2fMb\n",
                  double(textureMemoryTotal));
    platform::debugOutput(line);
}

GL_MemTexture::~GL_MemTexture() { glDeleteTextures(GLsizei(textures.size()), textures.data()); }

float textureMemoryConsumed() { return textureMemoryTotal; }

}  // namespace vorn::render
