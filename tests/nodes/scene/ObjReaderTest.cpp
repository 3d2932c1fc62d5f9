#include "nodes/scene/ObjReader.h"

#include "nodes/scene/Material.h"
#include "tests/nodes/scene/SceneGlTest.h"

namespace vorn::test {
namespace {

using nodes::GeometryNode_ObjReader;

class ObjReaderNode : public SceneGlTest {
protected:
    void SetUp() override {
        SceneGlTest::SetUp();
        model_ = create<GeometryNode_ObjReader>("Model", "3D_ObjReader");
        ASSERT_NE(model_, nullptr);
    }
    GeometryNode_ObjReader* model_ = nullptr;
};

TEST_F(ObjReaderNode, PlacesTheModelAndFollowsItsKeysAtSixtyASecond) {
    // Translate (1, 2, 3), Rotate (0, 45 + 45/s x 1 s, 0), Scale 2: (1, 0, 0) is
    // scaled to (2, 0, 0), turned about y to (0, 0, -2), moved to (1, 2, 1).
    model_->translate[0] = 1, model_->translate[1] = 2, model_->translate[2] = 3;
    model_->rotate[1] = 45.0f;
    model_->autoRotate[1] = 45.0f;
    model_->scale = 2.0f;
    evaluatedAt(*model_, 1.0f);
    expectMaps(model_->modelMatrix, {1, 0, 0}, {1, 2, 1});

    // Keys (x, y, z) read become (x, -z, -y): x 0, 6, 12 at frames 0, 1, 2.
    folder_.folder().write("path.txt", "0 0 0 0 0 0 0 0 0 0 0\n1 6 0 1 0 0 0 0 0 0 0\n2 12 0 2 0 0 0 0 0 0 0\n");
    model_->keysFilename = "path.txt";
    model_->rotate[1] = model_->autoRotate[1] = 0.0f;
    model_->scale = 1.0f;
    const std::pair<float, render::Vec3> times[] = {
        {1.5f / 60.0f, {6.05f, -1.00833f, 0}},  // frame 1 and a half: w = 0.5 / 60
        {5.0f, {12, -2, 0}},                     // after the last key
        {-1.0f, {12, -2, 0}},                    // before the first frame
    };
    for (auto [t, expected] : times) {
        evaluatedAt(*model_, t);
        expectMaps(model_->modelMatrix, {0, 0, 0}, expected, 1e-4f);
    }
    EXPECT_FALSE(model_->hasError);
}

TEST_F(ObjReaderNode, AReloadReleasesTheOldObjectsAndCentresThePivot) {
    folder_.folder().write("a.obj", "v 0 0 0\nv 4 0 0\nv 4 2 6\no One\nf 1 2 3\no Two\nf 3 2 1\n");
    model_->filename = "a.obj";
    model_->centerPivotOption = true;
    evaluatedAt(*model_, 0.0f);
    ASSERT_EQ(model_->objects.size(), 2u);
    EXPECT_EQ(model_->objects[1].name, "Two");
    EXPECT_EQ(model_->objects[1].indexCount, 3u);
    // Bounds of (x, -y, z): (0, -2, 0) .. (4, 0, 6), centre (2, -1, 3).
    expectMaps(model_->modelMatrix, {0, 0, 0}, {2, -1, 3});

    const GLuint vertexArray = model_->objects[0].vertexArray, buffer = model_->objects[1].indexBuffer;
    EXPECT_TRUE(glIsVertexArray(vertexArray));
    model_->filename = "missing.obj";
    evaluatedAt(*model_, 0.0f);
    EXPECT_TRUE(model_->objects.empty());
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    EXPECT_FALSE(glIsBuffer(buffer));
    EXPECT_TRUE(model_->hasError);
    expectMaps(model_->modelMatrix, {0, 0, 0}, {2, -1, 3});  // the pivot stays
}

TEST_F(ObjReaderNode, UploadsConvertedVerticesThatAProgramDrawsYDown) {
    // A triangle in the upper half of the OBJ's y-up world, normal -y, uv (0.25, 0.75).
    folder_.folder().write("t.obj", "v -1 0 0\nv 1 0 0\nv 0 1 0\nvt 0.25 0.75\nvn 0 -1 0\nf 1/1/1 2/1/1 3/1/1\n");
    model_->filename = "t.obj";
    evaluatedAt(*model_, 0.0f);
    ASSERT_EQ(model_->objects.size(), 1u);

    GLuint program = buildProgram(
        "#version 330 core\nlayout(location = 0) in vec3 vertex; layout(location = 1) in vec3 normal;\n"
        "layout(location = 2) in vec2 texcoord; out vec3 colour;\n"
        "void main() { colour = vec3(normal.y, texcoord); gl_Position = vec4(vertex, 1.0); }\n",
        "#version 330 core\nin vec3 colour; out vec4 frag;\nvoid main() { frag = vec4(colour, 1.0); }\n");
    ASSERT_NE(program, 0u);
    glClearColor(0, 0, 0, 1);
    glClear(GL_COLOR_BUFFER_BIT);
    glUseProgram(program);
    glBindVertexArray(model_->objects[0].vertexArray);
    glDrawElements(GL_TRIANGLES, GLsizei(model_->objects[0].indexCount), GL_UNSIGNED_INT, nullptr);
    glBindVertexArray(0);
    glUseProgram(0);
    glDeleteProgram(program);
    // Normal y negated to 1, v turned to 1 - 0.75: (255, 64, 64) below the middle, nothing above.
    EXPECT_TRUE(near(readPixel(960, 270), Rgba{255, 64, 64, 255}, 2));
    EXPECT_EQ(readPixel(960, 810), (Rgba{0, 0, 0, 255}));
}

}  // namespace
}  // namespace vorn::test
