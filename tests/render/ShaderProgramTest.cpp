#include "render/ShaderProgram.h"

#include "platform/Debug.h"
#include "render/GL_FrameBuffer.h"
#include "render/Quads.h"
#include "tests/render/ReadBack.h"
#include "tests/support/GlFixture.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace vorn::render;
using vorn::test::readAttachment8;
using vorn::platform::DebugCapture;

namespace {

const char* kVertex = R"(#version 330 core
in vec4 vertex;
in vec2 uv;
out vec2 texcoord;
void main() { texcoord = uv; gl_Position = vec4(vertex.xy, 0.0, 1.0); }
)";

const char* kFragment = R"(#version 330 core
in vec2 texcoord;
out vec4 frag[1];
void main() { frag[0] = vec4(texcoord, 0.0, 1.0); }
)";

const char* kBrokenVertex = "#version 330 core\nvoid main() { gl_Position = undeclared; }\n";
const char* kBrokenGeometry = "#version 330 core\nlayout(points) in;\nvoid main() { nonsense(); }\n";
const char* kBrokenFragment = "#version 330 core\nout vec4 frag[1];\nvoid main() { frag[0] = vec3(1.0); }\n";
// Compiles, but a program needs a main() in every stage to link.
const char* kVertexWithoutMain = "#version 330 core\nin vec4 vertex;\nvec4 unused() { return vertex; }\n";

std::size_t lineCount(const std::string& text) { return std::count(text.begin(), text.end(), '\n'); }

}  // namespace

class ShaderProgramBuild : public vorn::test::GlTest {};
class ShaderProgramBindings : public vorn::test::GlTest {};

TEST_F(ShaderProgramBuild, SuccessLogsOnlyTheLabelAndTheLinkedLine) {
    DebugCapture capture;
    ShaderProgram program("composeComb", kVertex, nullptr, kFragment, {"vertex", "uv"}, 1);
    EXPECT_TRUE(program.valid);
    EXPECT_EQ(capture.text(), "composeComb Successfully linked.\n");
}

TEST_F(ShaderProgramBuild, EveryFailingStageIsLoggedWithItsLabelAndNothingLinks) {
    DebugCapture capture;
    ShaderProgram program("broken", kBrokenVertex, kBrokenGeometry, kBrokenFragment, {"vertex"}, 1);
    EXPECT_FALSE(program.valid);
    const std::string& log = capture.text();
    std::size_t vertex = log.find("Vertex Shader::broken");
    std::size_t geometry = log.find("Geometry Shader::broken");
    std::size_t fragment = log.find("Fragment Shader::broken");
    ASSERT_NE(vertex, std::string::npos) << log;
    ASSERT_NE(geometry, std::string::npos) << log;
    ASSERT_NE(fragment, std::string::npos) << log;
    EXPECT_EQ(vertex, 0u);
    EXPECT_LT(vertex, geometry);
    EXPECT_LT(geometry, fragment);
    EXPECT_EQ(lineCount(log), 3u) << "one line per failing stage: " << log;
}

TEST_F(ShaderProgramBuild, LinkFailureLogsLabelThenLogOnOneLineAndDropsTheProgram) {
    DebugCapture capture;
    ShaderProgram program("unlinkable", kVertexWithoutMain, nullptr, kFragment, {"vertex"}, 1);
    EXPECT_FALSE(program.valid);
    EXPECT_EQ(program.program, 0u);
    EXPECT_EQ(capture.text().rfind("unlinkable", 0), 0u) << capture.text();
    EXPECT_GT(capture.text().size(), sizeof("unlinkable\n")) << "the linker's reason follows the label";
    EXPECT_EQ(lineCount(capture.text()), 1u) << capture.text();
}

TEST_F(ShaderProgramBindings, AttributesTakeTheirListPositionsAndAbsentUniformsAreMinusOne) {
    // Listed in the opposite order of their declaration in the source.
    ShaderProgram program("attributes", kVertex, nullptr, kFragment, {"uv", "vertex"}, 1);
    ASSERT_TRUE(program.valid);
    EXPECT_EQ(glGetAttribLocation(program.program, "uv"), 0);
    EXPECT_EQ(glGetAttribLocation(program.program, "vertex"), 1);
    EXPECT_EQ(UniformLocation(program, "ng_time"), -1);
    EXPECT_EQ(UniformLocation(ShaderProgram{}, "ng_time"), -1);
}

TEST_F(ShaderProgramBindings, FragmentOutputElementsLandInTheirAttachments) {
    const char* fragment = "#version 330 core\nout vec4 frag[2];\n"
                           "void main() { frag[0] = vec4(1.0, 0.0, 0.0, 1.0); frag[1] = vec4(0.0, 1.0, 0.0, 1.0); }\n";
    ShaderProgram program("twoOutputs", kVertex, nullptr, fragment, {"vertex", "uv"}, 2);
    ASSERT_TRUE(program.valid);
    EXPECT_EQ(glGetFragDataLocation(program.program, "frag[1]"), 1);

    GL_FrameBuffer target(4, 4, 2, 8, GL_RGBA, false, false);
    glViewport(0, 0, 4, 4);
    glUseProgram(program.program);
    RenderToFrameBuffer(target, false);
    glUseProgram(0);

    auto first = readAttachment8(target.framebuffer, 0, 1, 1, 1, 1);
    auto second = readAttachment8(target.framebuffer, 1, 1, 1, 1, 1);
    EXPECT_EQ(first, (std::vector<uint8_t>{255, 0, 0, 255}));
    EXPECT_EQ(second, (std::vector<uint8_t>{0, 255, 0, 255}));
}

