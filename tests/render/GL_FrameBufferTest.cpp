#include "render/GL_FrameBuffer.h"

#include "platform/Debug.h"
#include "render/Quads.h"
#include "render/ShaderProgram.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

using namespace vorn::render;
using vorn::test::readAttachment8;
using vorn::test::readAttachmentFloat;
using vorn::platform::DebugCapture;

namespace {

const char* kVertex = "#version 330 core\nin vec4 vertex;\nvoid main() { gl_Position = vec4(vertex.xy, 0.0, 1.0); }\n";
const char* kValueFragment = "#version 330 core\nuniform vec4 value;\nout vec4 frag[1];\n"
                             "void main() { frag[0] = value; }\n";

// Fills the whole target with one colour through a program, as passes do.
void fillWith(const GL_FrameBuffer& target, const ShaderProgram& program, const float (&value)[4]) {
    glViewport(0, 0, target.width, target.height);
    glUseProgram(program.program);
    glUniform4fv(UniformLocation(program, "value"), 1, value);
    RenderToFrameBuffer(target, false);
    glUseProgram(0);
}

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

class RenderTargetPrecision : public vorn::test::GlTest {};
class RenderTargetLayout : public vorn::test::GlTest {};
class RenderTargetFailure : public vorn::test::GlTest {};

TEST_F(RenderTargetPrecision, EightBitTargetsQuantiseAndClamp) {
    ShaderProgram program("value", kVertex, nullptr, kValueFragment, {"vertex"}, 1);
    GL_FrameBuffer target(8, 8, 1, 8, GL_RGBA, false, false);
    fillWith(target, program, {0.1234f, 2.5f, -1.0f, 1.0f});
    auto pixel = readAttachmentFloat(target.framebuffer, 0, 3, 3, 1, 1);
    EXPECT_NEAR(pixel[0], 31.0f / 255.0f, 1e-4f);  // 0.1234 * 255 = 31.47
    EXPECT_FLOAT_EQ(pixel[1], 1.0f);
    EXPECT_FLOAT_EQ(pixel[2], 0.0f);
}

TEST_F(RenderTargetPrecision, SixteenBitTargetsKeepHalfFloatValues) {
    ShaderProgram program("value", kVertex, nullptr, kValueFragment, {"vertex"}, 1);
    GL_FrameBuffer target(8, 8, 1, 16, GL_RGBA, false, false);
    fillWith(target, program, {0.1234f, 2.5f, -1.0f, 1.0f});
    auto pixel = readAttachmentFloat(target.framebuffer, 0, 3, 3, 1, 1);
    EXPECT_NEAR(pixel[0], 0.1234f, 1e-4f);  // half precision: 2^-14 steps near 0.12
    EXPECT_FLOAT_EQ(pixel[1], 2.5f);
    EXPECT_FLOAT_EQ(pixel[2], -1.0f);
}

TEST_F(RenderTargetLayout, EachColourTextureSitsOnItsAttachment) {
    DebugCapture capture;
    GL_FrameBuffer target(16, 8, 3, 8, GL_RGBA, false, false);
    ASSERT_EQ(target.textureCount(), 3);
    EXPECT_EQ(target.width, 16);
    EXPECT_EQ(target.height, 8);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(attachedName(target.framebuffer, GL_COLOR_ATTACHMENT0 + i), GLint(target.textures[i]));
    EXPECT_EQ(status(target), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(capture.text(), "");
}

TEST_F(RenderTargetLayout, DepthIsARenderbufferOnlyWhenAsked) {
    GL_FrameBuffer withDepth(16, 8, 1, 16, GL_RGBA, true, false);
    GL_FrameBuffer without(16, 8, 1, 16, GL_RGBA, false, false);
    ASSERT_NE(withDepth.depthBuffer, 0u);
    EXPECT_EQ(attachedName(withDepth.framebuffer, GL_DEPTH_ATTACHMENT), GLint(withDepth.depthBuffer));
    EXPECT_EQ(status(withDepth), GLenum(GL_FRAMEBUFFER_COMPLETE));
    glBindRenderbuffer(GL_RENDERBUFFER, withDepth.depthBuffer);
    GLint depthBits = 0;
    glGetRenderbufferParameteriv(GL_RENDERBUFFER, GL_RENDERBUFFER_DEPTH_SIZE, &depthBits);
    glBindRenderbuffer(GL_RENDERBUFFER, 0);
    EXPECT_GE(depthBits, 24);

    EXPECT_EQ(without.depthBuffer, 0u);
    EXPECT_EQ(attachedName(without.framebuffer, GL_DEPTH_ATTACHMENT), 0);
}

TEST_F(RenderTargetFailure, UnsupportedChannelBitsLogOneLine) {
    DebugCapture capture;
    GL_FrameBuffer target(8, 8, 1, 12, GL_RGBA, false, false);
    EXPECT_EQ(capture.text(), "Unable to create frame buffer\n");
    EXPECT_NE(status(target), GLenum(GL_FRAMEBUFFER_COMPLETE));
    EXPECT_EQ(target.textureCount(), 1);  // still a usable object for its owner
}

