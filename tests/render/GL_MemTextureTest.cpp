#include "render/GL_MemTexture.h"

#include "platform/Debug.h"
#include "render/GL_FrameBuffer.h"
#include "render/Quads.h"
#include "render/ShaderProgram.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

#include <cstdio>

using namespace vorn::render;
using vorn::test::readAttachment8;
using vorn::platform::DebugCapture;

namespace {

std::string expectedLine(double totalMb) {
    char line[128];
    std::snprintf(line, sizeof line, "Texture Memory Consumed (non MM): %.2fMb\n", totalMb);
    return line;
}

}  // namespace

class TextureMemoryLog : public vorn::test::GlTest {};
class MemTextureUpload : public vorn::test::GlTest {};

TEST_F(TextureMemoryLog, EachUploadAddsItsLevelZeroSizeAndLogsTheTotal) {
    std::vector<uint8_t> rgb(640 * 480 * 3, 0x80);
    std::vector<uint8_t> rgba(100 * 100 * 4, 0x80);
    double before = textureMemoryConsumed();

    DebugCapture capture;
    GL_MemTexture first(640, 480, GL_RGB, GL_REPEAT, GL_REPEAT, rgb.data());
    GL_MemTexture second(100, 100, GL_RGBA, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, rgba.data());
    double afterRgb = before + 921600.0 / 1048576.0;  // 0.88 MB: 640 x 480 x 3 bytes
    double afterRgba = afterRgb + 40000.0 / 1048576.0;
    EXPECT_EQ(capture.text(), expectedLine(afterRgb) + expectedLine(afterRgba));
}

TEST_F(MemTextureUpload, OddWidthRgbRowsArriveIntactWhateverTheUnpackAlignment) {
    // 3 x 2 RGB: 9-byte rows, not a multiple of the default 4-byte alignment.
    const std::vector<uint8_t> pixels = {10, 20, 30, 40, 50, 60, 70, 80, 90,
                                         100, 110, 120, 130, 140, 150, 160, 170, 180};
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    GL_MemTexture texture(3, 2, GL_RGB, GL_CLAMP_TO_EDGE, GL_CLAMP_TO_EDGE, pixels.data());

    const char* vertex = R"(#version 330 core
in vec4 vertex;
in vec2 uv;
out vec2 texcoord;
void main() { texcoord = uv; gl_Position = vec4(vertex.xy, 0.0, 1.0); }
)";
    const char* fragment = "#version 330 core\nin vec2 texcoord;\nuniform sampler2D tex;\nout vec4 frag[1];\n"
                           "void main() { frag[0] = texture(tex, texcoord); }\n";
    ShaderProgram program("copy", vertex, nullptr, fragment, {"vertex", "uv"}, 1);
    GL_FrameBuffer target(3, 2, 1, 8, GL_RGBA, false, false);
    glBindFramebuffer(GL_FRAMEBUFFER, target.framebuffer);
    SetDrawBuffers(target);
    glViewport(0, 0, 3, 2);
    glUseProgram(program.program);
    glUniform1i(UniformLocation(program, "tex"), 0);
    DrawImageQuad(texture);
    glUseProgram(0);
    glBindFramebuffer(GL_FRAMEBUFFER, 0);

    // Row 0 of the texture (first in memory) is sampled at v = 0: GL row 0.
    auto read = readAttachment8(target.framebuffer, 0, 0, 0, 3, 2);
    for (int i = 0; i < 6; ++i)
        for (int c = 0; c < 3; ++c)
            EXPECT_NEAR(read[i * 4 + c], pixels[i * 3 + c], 1) << "pixel " << i << " channel " << c;
}

