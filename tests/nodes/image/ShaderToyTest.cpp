#include "nodes/image/ShaderToy.h"

#include "platform/Debug.h"
#include "tests/nodes/image/ShaderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace vorn::test {
namespace {

using nodes::ImageNode_ShaderToy;

std::string solidSource(const char* colour) {
    return std::string("#version 330 core\nout vec4 frag[1];\nvoid main() { frag[0] = vec4(") + colour + "); }\n";
}

const Colour kRedOut{1, 0, 0, 1};
const Colour kGreenOut{0, 1, 0, 1};
const Colour kBlueOut{0, 0, 1, 1};

class ShaderToyNode : public ShaderNodeTest {
protected:
    void SetUp() override {
        ShaderNodeTest::SetUp();
        ASSERT_TRUE(engine.createNode("Toy", "ShaderToy"));
        toy = dynamic_cast<ImageNode_ShaderToy*>(engine.findNode("Toy"));
        ASSERT_NE(toy, nullptr);
        toy->sourcePath = "toy.frag";
    }
    void write(const std::string& text) { here.folder().write("toy.frag", text); }
    bool frame() {
        toy->evaluated = false;
        return toy->evaluate();
    }
    Colour shown() { return imagePixel(toy->images[0], 960, 540); }

    WorkingDirectory here;
    ImageNode_ShaderToy* toy = nullptr;
};

TEST_F(ShaderToyNode, ShowsRedUntilReloadHasBeenSetAndKeepsTheProgramAfterwards) {
    write(solidSource("0.0, 1.0, 0.0, 1.0"));
    EXPECT_FALSE(frame());
    EXPECT_EQ(shown(), kRedOut);
    EXPECT_FALSE(frame());
    EXPECT_EQ(shown(), kRedOut);

    toy->reload = true;
    EXPECT_TRUE(frame());
    EXPECT_EQ(shown(), kGreenOut);

    toy->reload = false;
    write(solidSource("0.0, 0.0, 1.0, 1.0"));
    EXPECT_TRUE(frame());
    EXPECT_EQ(shown(), kGreenOut);
}

TEST_F(ShaderToyNode, AnEditedFileIsUsedOnTheNextFrameAnUnchangedOneKeepsItsProgramAndAMissingOneShowsRed) {
    write(solidSource("0.0, 1.0, 0.0, 1.0"));
    toy->reload = true;
    frame();
    ASSERT_NE(toy->program, nullptr);
    const render::ShaderProgram* built = toy->program.get();
    frame();
    EXPECT_EQ(toy->program.get(), built);
    write(solidSource("0.0, 0.0, 1.0, 1.0"));  // same length, new text
    frame();
    EXPECT_EQ(shown(), kBlueOut);

    ASSERT_EQ(std::remove(here.file("toy.frag").c_str()), 0);
    EXPECT_FALSE(frame());
    EXPECT_EQ(toy->program, nullptr);
    EXPECT_EQ(shown(), kRedOut);
    write(solidSource("0.0, 0.0, 1.0, 1.0"));  // back again: rebuilt although the text is the same
    EXPECT_TRUE(frame());
    EXPECT_EQ(shown(), kBlueOut);
}

TEST_F(ShaderToyNode, AFileBeyondTheBufferIsRefusedOnceAndThePreviousProgramKept) {
    write(solidSource("0.0, 1.0, 0.0, 1.0"));
    toy->reload = true;
    frame();
    std::string big = solidSource("0.0, 0.0, 1.0, 1.0") + "//" + std::string(70000, 'x') + "\n";
    write(big);
    platform::DebugCapture capture;
    frame();
    frame();
    EXPECT_EQ(shown(), kGreenOut);
    std::string line = "is " + std::to_string(big.size()) + " bytes, more than 65535";
    std::size_t first = capture.text().find(line);
    ASSERT_NE(first, std::string::npos) << capture.text();
    EXPECT_EQ(capture.text().find(line, first + 1), std::string::npos);

    // Exactly 65535 bytes fit.
    std::string fits = solidSource("0.0, 0.0, 1.0, 1.0");
    fits += "//" + std::string(65535 - fits.size() - 3, 'y') + "\n";
    ASSERT_EQ(fits.size(), 65535u);
    write(fits);
    frame();
    EXPECT_EQ(shown(), kBlueOut);
}

TEST_F(ShaderToyNode, ASourceThatFailsToCompileKeepsThePreviousPicture) {
    write(solidSource("0.0, 1.0, 0.0, 1.0"));
    toy->reload = true;
    frame();
    platform::DebugCapture capture;
    write("#version 330 core\nthis is not glsl\n");
    EXPECT_TRUE(frame());
    ASSERT_NE(toy->program, nullptr);
    EXPECT_FALSE(toy->program->valid);
    EXPECT_TRUE(capture.contains("Fragment Shader::Toy"));
    EXPECT_EQ(shown(), kGreenOut);
}

TEST_F(ShaderToyNode, SuppliesTimeAspectSampleSizeAndTheQuadCoordinate) {
    write("#version 330 core\nin vec2 texcoord;\nout vec4 frag[1];\n"
          "uniform float ng_time;\nuniform float ng_aspectRatio;\nuniform vec2 ng_sampleSize;\n"
          "uniform mat4 textureMatrix;\n"
          "void main() {\n"
          "    if (gl_FragCoord.x < 960.0) frag[0] = vec4(ng_time, ng_aspectRatio, ng_sampleSize * 1000.0);\n"
          "    else frag[0] = vec4(texcoord, textureMatrix[0][0], textureMatrix[3][0]);\n"
          "}\n");
    engine.time = 2.5f;
    toy->reload = true;
    frame();
    EXPECT_TRUE(closeTo(imagePixel(toy->images[0], 5, 5), {2.5f, 1920.0f / 1080.0f, 1000.0f / 1920.0f, 1000.0f / 1080.0f},
                        2e-3f));
    EXPECT_TRUE(closeTo(imagePixel(toy->images[0], 1440, 270), {1440.5f / 1920.0f, 270.5f / 1080.0f, 1.0f, 0.0f}, 1e-3f));
}

}  // namespace
}  // namespace vorn::test
