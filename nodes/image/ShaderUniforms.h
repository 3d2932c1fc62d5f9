// A uniform of a program that one node owns: its location, looked up once
// after linking, and the value last given to it. Nothing but the owner sets
// that program's uniforms and a program keeps their values, so a value equal
// to the last one needs no GL call, and neither does a uniform the program
// lacks (location -1).
#pragma once

#include "render/GL_Image.h"
#include "render/Matrix.h"

#include <GL/glew.h>

#include <array>
#include <cstddef>
#include <cstdint>

namespace vorn::nodes {

class CachedUniform {
public:
    CachedUniform() = default;
    CachedUniform(GLuint program, const char* name);

    bool present() const { return location_ >= 0; }

    void set1f(float value);
    void set1i(int32_t value);
    void set2f(float x, float y);
    void set4fv(const float* values);
    void setMatrix4(const float* columnMajor);

private:
    // True when the bytes differ from the last value set (and remembers them).
    bool changed(const void* data, std::size_t bytes);

    GLint location_ = -1;
    bool hasValue_ = false;
    std::size_t size_ = 0;
    std::array<unsigned char, 64> last_{};
};

// The uniforms every full-screen effect program may declare: its node's
// texture matrix, the engine time, and the aspect ratio and texel size of the
// picture it draws.
class EffectUniforms {
public:
    EffectUniforms() = default;
    explicit EffectUniforms(GLuint program);

    // The program must be bound.
    void set(const render::Mat4& textureMatrix, float time, const render::GL_Image& output);

private:
    CachedUniform textureMatrix_, time_, aspectRatio_, sampleSize_;
};

}  // namespace vorn::nodes
