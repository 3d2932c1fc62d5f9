#include "render/Quads.h"

#include "render/ShaderProgram.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

using namespace vorn::render;
using vorn::test::readAttachment8;
using vorn::test::readAttachmentFloat;

namespace {

const char* kUvVertex = R"(#version 330 core
in vec4 vertex;
in vec2 uv;
out vec2 texcoord;
void main() { texcoord = uv; gl_Position = vec4(vertex.xy, 0.0, 1.0); }
)";
const char* kUvFragment = "#version 330 core\nin vec2 texcoord;\nout vec4 frag[1];\n"
                          "void main() { frag[0] = vec4(texcoord, 0.5, 1.0); }\n";

void clearTarget(const GL_FrameBuffer& target, float r, float g, float b, float a) {
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    SetDrawBuffers(target);
    glClearColor(r, g, b, a);
    glClear(GL_COLOR_BUFFER_BIT);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);
}

GLint integer(GLenum name) {
    GLint value = -1;
    glGetIntegerv(name, &value);
    return value;
}

}  // namespace

class FullScreenQuad : public vorn::test::GlTest {};
class LetterboxQuad : public vorn::test::GlTest {};
class ImageQuadDrawing : public vorn::test::GlTest {};

TEST_F(FullScreenQuad, CoversTheTargetWithUvZeroAtTheBottomLeft) {
    ShaderProgram program("uv", kUvVertex, nullptr, kUvFragment, {"vertex", "uv"}, 1);
    GL_FrameBuffer target(64, 32, 1, 16, GL_RGBA, false, false);
    clearTarget(target, 0, 0, 0, 0);
    glViewport(0, 0, 64, 32);
    glUseProgram(program.program);
    RenderToFrameBuffer(target, false);
    glUseProgram(0);

    // Pixel centres: u = (x + 0.5) / 64, v = (y + 0.5) / 32 (GL rows count upwards).
    auto corner = readAttachmentFloat(target.framebuffer, 0, 0, 0, 1, 1);
    auto far = readAttachmentFloat(target.framebuffer, 0, 63, 31, 1, 1);
    EXPECT_NEAR(corner[0], 0.5f / 64, 1e-3f);
    EXPECT_NEAR(corner[1], 0.5f / 32, 1e-3f);
    EXPECT_NEAR(far[0], 63.5f / 64, 1e-3f);
    EXPECT_NEAR(far[1], 31.5f / 32, 1e-3f);
    EXPECT_EQ(integer(GL_FRAMEBUFFER_BINDING), 0);  // nothing is left bound
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);
}

TEST_F(LetterboxQuad, LeavesTheTopAndBottomBandsUntouched) {
    ShaderProgram program("uv", kUvVertex, nullptr, kUvFragment, {"vertex", "uv"}, 1);
    GL_FrameBuffer target(1920, 1080, 1, 16, GL_RGBA, false, false);
    clearTarget(target, 0, 0, 1, 1);
    glViewport(0, 0, 1920, 1080);
    glUseProgram(program.program);
    RenderToFrameBuffer(target, true);
    glUseProgram(0);

    // The band spans y in (1080 * 0.122, 1080 * 0.878) = (131.76, 948.24); a
    // row is drawn when its centre (row + 0.5) lies inside.
    auto column = readAttachmentFloat(target.framebuffer, 0, 960, 0, 1, 1080);
    auto blue = [&](int row) { return column[row * 4 + 2] == 1.0f && column[row * 4] == 0.0f; };
    for (int row : {0, 100, 131, 948, 1000, 1079}) EXPECT_TRUE(blue(row)) << "row " << row;
    for (int row : {132, 540, 947}) EXPECT_FALSE(blue(row)) << "row " << row;

    // Inside, v runs over the source's middle band 0.1218 .. 0.8782.
    auto v = [](float row) { return 0.1218f + (row + 0.5f - 131.76f) / (948.24f - 131.76f) * (0.8782f - 0.1218f); };
    for (int row : {132, 540, 947}) {
        EXPECT_NEAR(column[row * 4 + 1], v(float(row)), 2e-3f) << "row " << row;
        EXPECT_FLOAT_EQ(column[row * 4 + 2], 0.5f);
    }
}

TEST_F(ImageQuadDrawing, BindsEachTextureToItsUnitAndUnbindsThemAfter) {
    // Three source textures, each a distinct colour, read from units 0, 1, 2.
    GL_FrameBuffer source(4, 4, 3, 8, GL_RGBA, false, false);
    glBindFramebuffer(GL_FRAMEBUFFER, source.framebuffer);
    SetDrawBuffers(source);
    const float colours[3][4] = {{0.2f, 0, 0, 1}, {0, 0.4f, 0, 1}, {0, 0, 0.6f, 1}};
    for (int i = 0; i < 3; ++i) glClearBufferfv(GL_COLOR, i, colours[i]);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    const char* fragment = R"(#version 330 core
in vec2 texcoord;
uniform sampler2D t0, t1, t2;
out vec4 frag[1];
void main() { frag[0] = vec4(texture(t0, texcoord).r, texture(t1, texcoord).g, texture(t2, texcoord).b, 1.0); }
)";
    ShaderProgram program("units", kUvVertex, nullptr, fragment, {"vertex", "uv"}, 1);
    glUseProgram(program.program);
    glUniform1i(UniformLocation(program, "t0"), 0);
    glUniform1i(UniformLocation(program, "t1"), 1);
    glUniform1i(UniformLocation(program, "t2"), 2);

    GL_FrameBuffer target(4, 4, 1, 8, GL_RGBA, false, false);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    SetDrawBuffers(target);
    glViewport(0, 0, 4, 4);
    DrawImageQuad(source);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    EXPECT_EQ(readAttachment8(target.framebuffer, 0, 2, 2, 1, 1),
              (std::vector<uint8_t>{51, 102, 153, 255}));
    for (int unit = 0; unit < 3; ++unit) {
        glActiveTexture(GL_TEXTURE0 + unit);
        EXPECT_EQ(integer(GL_TEXTURE_BINDING_2D), 0) << "unit " << unit;
    }
    glActiveTexture(GL_TEXTURE0);
    EXPECT_EQ(integer(GL_VERTEX_ARRAY_BINDING), 0);
    EXPECT_EQ(integer(GL_ARRAY_BUFFER_BINDING), 0);
}
