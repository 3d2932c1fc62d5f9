#include "render/Quads.h"

#include "tests/render/RenderChecks.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

using namespace vorn::render;
using vorn::test::readAttachmentFloat;

namespace {

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace

class Quads : public vorn::test::GlTest {};

TEST_F(Quads, FullScreenCoversTheTargetUvZeroBottomLeftAndTheLetterboxOnlyItsMiddleBand) {
    const char* fragment = "#version 330 core\nin vec2 texcoord;\nout vec4 frag[1];\n"
                           "void main() { frag[0] = vec4(texcoord, 0.5, 1.0); }\n";
    ShaderProgram program("uv", vorn::test::kUvVertex, nullptr, fragment, {"vertex", "uv"}, 1);
    GL_FrameBuffer target(1920, 1080, 1, 16, GL_RGBA, false, false);
    // The letterbox spans y in (1080 x 0.122, 1080 x 0.878) = (131.76, 948.24), sampling v
    // from 0.1218 to 0.8782; a row is drawn when its centre lies inside.
    struct Band {
        bool letterbox;
        float low, high, v0, v1;
    };
    for (Band band : {Band{false, 0, 1080, 0, 1}, Band{true, 131.76f, 948.24f, 0.1218f, 0.8782f}}) {
        glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
        glClearColor(0, 0, 1, 1);
        glClear(GL_COLOR_BUFFER_BIT);
        vorn::test::drawPass(program, target, band.letterbox);
        EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);  // nothing is left bound
        EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
        EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);

        auto column = readAttachmentFloat(target.framebuffer, 0, 1919, 0, 1, 1080);
        for (int row : {0, 100, 131, 132, 540, 947, 948, 1079}) {
            const float* pixel = &column[std::size_t(row) * 4];
            const float centre = float(row) + 0.5f;
            const bool drawn = centre > band.low && centre < band.high;
            const float v = band.v0 + (centre - band.low) / (band.high - band.low) * (band.v1 - band.v0);
            EXPECT_NEAR(pixel[0], drawn ? 1919.5f / 1920 : 0.0f, 1e-3f) << band.letterbox << " row " << row;
            EXPECT_NEAR(pixel[1], drawn ? v : 0.0f, 2e-3f) << band.letterbox << " row " << row;
            EXPECT_EQ(pixel[2], drawn ? 0.5f : 1.0f) << band.letterbox << " row " << row;
        }
    }
}

TEST_F(Quads, AnImageQuadLeavesNoTextureBoundOnTheUnitsItUsedAndUnitZeroActive) {
    GL_FrameBuffer source(4, 4, 3, 8, GL_RGBA, false, false), target(4, 4, 1, 8, GL_RGBA, false, false);
    const char* fragment = "#version 330 core\nout vec4 frag[1];\nvoid main() { frag[0] = vec4(1.0); }\n";
    ShaderProgram program("white", vorn::test::kUvVertex, nullptr, fragment, {"vertex", "uv"}, 1);
    glUseProgram(program.program);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    DrawImageQuad(source);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
    EXPECT_EQ(integer(GL_ACTIVE_TEXTURE), GL_TEXTURE0);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    for (int unit = 2; unit >= 0; --unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0) << "unit " << unit;
    }
}
