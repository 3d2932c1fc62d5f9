#include "render/ShaderProgram.h"

#include "platform/Debug.h"
#include "tests/render/RenderChecks.h"
#include "tests/support/GlFixture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

using namespace vorn::render;
using ::testing::MatchesRegex;

class ShaderProgramTest : public vorn::test::GlTest {};

// One line each: the linked label, every failing stage with its label and the
// compiler's reason, or the label of a program that does not link and the linker's.
TEST_F(ShaderProgramTest, ALinkedProgramLogsOneLineAndEachFailingStageOrLinkOneLineWithItsLabel) {
    const char* fragment = "#version 330 core\nin vec2 texcoord;\nout vec4 frag[1];\n"
                           "void main() { frag[0] = vec4(texcoord, 0.0, 1.0); }\n";
    vorn::platform::DebugCapture capture;
    ShaderProgram linked("composeComb", vorn::test::kUvVertex, nullptr, fragment, {"vertex", "uv"}, 1);
    EXPECT_TRUE(linked.valid);
    EXPECT_EQ(capture.text(), "composeComb Successfully linked.\n");

    capture.clear();
    ShaderProgram broken("broken", "#version 330 core\nvoid main() { gl_Position = undeclared; }\n",
                         "#version 330 core\nlayout(points) in;\nvoid main() { nonsense(); }\n",
                         "#version 330 core\nout vec4 frag[1];\nvoid main() { frag[0] = vec3(1.0); }\n", {"vertex"}, 1);
    EXPECT_FALSE(broken.valid);
    EXPECT_THAT(capture.text(), MatchesRegex("Vertex Shader::broken[^\n]+\n"
                                             "Geometry Shader::broken[^\n]+\n"
                                             "Fragment Shader::broken[^\n]+\n"));

    capture.clear();  // compiles, but a program needs a main() in every stage to link
    ShaderProgram unlinkable("unlinkable", "#version 330 core\nin vec4 vertex;\nvec4 unused() { return vertex; }\n",
                             nullptr, fragment, {"vertex"}, 1);
    EXPECT_FALSE(unlinkable.valid);
    EXPECT_EQ(unlinkable.program, 0u);
    EXPECT_THAT(capture.text(), MatchesRegex("unlinkable[^\n]+\n"));
}
