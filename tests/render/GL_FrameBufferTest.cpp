#include "render/GL_FrameBuffer.h"

#include "platform/Debug.h"
#include "tests/render/RenderChecks.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

using namespace vorn::render;

class RenderTarget : public vorn::test::GlTest {};

TEST_F(RenderTarget, EightBitTargetsQuantiseAndClampSixteenBitOnesKeepHalfFloatsAndOthersLogOneLine) {
    const char* fragment = "#version 330 core\nout vec4 frag[1];\n"
                           "void main() { frag[0] = vec4(0.1234, 2.5, -1.0, 1.0); }\n";
    ShaderProgram program("value", vorn::test::kUvVertex, nullptr, fragment, {"vertex", "uv"}, 1);
    vorn::platform::DebugCapture capture;
    // 0.1234 x 255 = 31.47; half floats step by 2^-14 near 0.12.
    for (auto [bits, r, g, b] : {std::tuple{8, 31.0f / 255.0f, 1.0f, 0.0f}, {16, 0.1234f, 2.5f, -1.0f}}) {
        GL_FrameBuffer target(8, 8, 1, bits, GL_RGBA, false, false);
        vorn::test::drawPass(program, target);
        auto pixel = vorn::test::readAttachmentFloat(target.framebuffer, 0, 3, 3, 1, 1);
        EXPECT_NEAR(pixel[0], r, 1e-4f) << bits;
        EXPECT_FLOAT_EQ(pixel[1], g) << bits;
        EXPECT_FLOAT_EQ(pixel[2], b) << bits;
    }
    EXPECT_EQ(capture.text(), "");
    GL_FrameBuffer twelve(8, 8, 1, 12, GL_RGBA, false, false);
    EXPECT_EQ(capture.text(), "Unable to create frame buffer\n");
    EXPECT_EQ(twelve.textureCount(), 1);  // still a usable object for its owner
}
