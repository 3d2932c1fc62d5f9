// Counts the GL objects (textures, buffers, vertex arrays, framebuffers,
// renderbuffers, programs, shaders) created and deleted while an instance
// lives: a test brackets a few steady frames with one and expects zero of each.
// It wraps the GL library's texture calls for the whole executable, so only
// test executables that use it link it.
#pragma once

namespace vorn::test {

class GlObjectCount {
public:
    GlObjectCount();
    ~GlObjectCount();
    GlObjectCount(const GlObjectCount&) = delete;
    GlObjectCount& operator=(const GlObjectCount&) = delete;

    int created() const;
    int deleted() const;
};

}  // namespace vorn::test
