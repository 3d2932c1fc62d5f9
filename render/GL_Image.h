// The picture that flows between nodes: a set of GL textures of one size,
// index 0 the main image. Owned by the node that created it; other nodes borrow
// it for a frame. Subclasses delete what they create.
#pragma once

#include <GL/glew.h>

#include <vector>

namespace vorn::render {

class GL_Image {
public:
    virtual ~GL_Image() = default;

    int textureCount() const { return int(textures.size()); }

    int width = 0;
    int height = 0;
    std::vector<GLuint> textures;

protected:
    GL_Image() = default;
    GL_Image(const GL_Image&) = delete;
    GL_Image& operator=(const GL_Image&) = delete;
};

}  // namespace vorn::render
