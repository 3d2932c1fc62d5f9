// Counts the GL objects created and deleted while an instance is alive:
// textures, buffers, vertex arrays, framebuffers, renderbuffers, programs and
// shaders. A steady frame must create and delete none, so a test brackets a
// few frames with one and expects zero of each.
//
// Entry points loaded through GLEW are swapped for counting wrappers; the
// texture calls, which the GL library exports directly, are wrapped by
// definitions in this file that forward to the library's own. Only the test
// executables that use this class link those definitions.
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
