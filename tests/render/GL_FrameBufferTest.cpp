#include "render/GL_FrameBuffer.h"

#include "platform/Debug.h"
#include "render/Quads.h"
#include "render/ShaderProgram.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

using namespace vorn::render;
using vorn::platform::DebugCapture;

namespace {

GLint attachedName(GLuint framebuffer, GLenum attachment) {
    GLint name = 0;
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glGetFramebufferAttachmentParameteriv(GL_FRAMEBUFFER, attachment, GL_FRAMEBUFFER_ATTACHMENT_OBJECT_NAME, &name);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return name;
}

GLenum status(const GL_FrameBuffer& target) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    GLenum result = glCheckFramebufferStatus(GL_FRAMEBUFFER);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    return result;
}

}  // namespace

class RenderTarget : public vorn::test::GlTest {};

TEST_F(RenderTarget, EightBitTargetsQuantiseAndClampWhileSixteenBitOnesKeepHalfFloats) {
    const char* vertex = "#version 330 core\nin vec4 vertex;\nvoid main() { gl_Position = vec4(vertex.xy, 0.0, 1.0); }\n";
    const char* fragment = "#version 330 core\nout vec4 frag[1];\nvoid main() { frag[0] = vec4(0.1234, 2.5, -1.0, 1.0); }\n";
    ShaderProgram program("value", vertex, nullptr, fragment, {"vertex"}, 1);
    struct Case {
        int bits;
        float r, g, b;
    };
    // 0.1234 x 255 = 31.47; half floats step by 2^-14 near 0.12.
    for (Case c : {Case{8, 31.0f / 255.0f, 1.0f, 0.0f}, Case{16, 0.1234f, 2.5f, -1.0f}}) {
        GL_FrameBuffer target(8, 8, 1, c.bits, GL_RGBA, false, false);
        glViewport(0, 0, 8, 8);
        glUseProgram(program.program);
        RenderToFrameBuffer(target, false);
        glUseProgram(0);
        auto pixel = vorn::test::readAttachmentFloat(target.framebuffer, 0, 3, 3, 1, 1);
        EXPECT_NEAR(pixel[0], c.r, 1e-4f) << c.bits;
        EXPECT_FLOAT_EQ(pixel[1], c.g) << c.bits;
        EXPECT_FLOAT_EQ(pixel[2], c.b) << c.bits;
    }
}

TEST_F(RenderTarget, ColourTexturesSitOnTheirAttachmentsAndDepthOnlyWhenAsked) {
    DebugCapture capture;
    GL_FrameBuffer target(16, 8, 3, 8, GL_RGBA, true, false);
    ASSERT_EQ(target.textureCount(), 3);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(attachedName(target.framebuffer, GL_COLOR_ATTACHMENT0 + i), GLint(target.textures[i]));
    ASSERT_NE(target.depthBuffer, 0u);
    EXPECT_EQ(attachedName(target.framebuffer, GL_DEPTH_ATTACHMENT), GLint(target.depthBuffer));
    glBindRenderbuffer(GL_RENDERBUFFER, target.depthBuffer);
    GLint depthBits = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &depthBits);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    EXPECT_GE(depthBits, 24);
    EXPECT_EQ(status(target), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(capture.text(), "");

    GL_FrameBuffer without(16, 8, 1, 16, GL_RGBA, false, false);
    EXPECT_EQ(attachedName(without.framebuffer, GL_DEPTH_ATTACHMENT), 0);
}

TEST_F(RenderTarget, UnsupportedChannelBitsLogOneLine) {
    DebugCapture capture;
    GL_FrameBuffer target(8, 8, 1, 12, GL_RGBA, false, false);
    EXPECT_EQ(capture.text(), "Unable to create frame buffer\n");
    EXPECT_NE(status(target), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(target.textureCount(), 1);  // still a usable object for its owner
}
