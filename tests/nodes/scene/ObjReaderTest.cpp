// "3D_ObjReader": placement and keys, reloads, and what the GL objects hold.
#include "nodes/scene/ObjReader.h"

#include "tests/nodes/scene/SceneTest.h"

namespace vorn::test {
namespace {

class ObjReaderNode : public SceneTest {
protected:
    void SetUp() override {
        SceneTest::SetUp();
        model = create<nodes::GeometryNode_ObjReader>("Model", "3D_ObjReader");
    }
    nodes::GeometryNode_ObjReader* model = nullptr;
};

TEST_F(ObjReaderNode, PlacesTheModelAndFollowsItsKeysAtSixtyASecond) {
    // Translate (1, 2, 3), Rotate (0, 45 + 45/s x 1 s, 0), Scale 2: (1, 0, 0) is
    // scaled to (2, 0, 0), turned about y to (0, 0, -2), moved to (1, 2, 1).
    model->translate[0] = 1, model->translate[1] = 2, model->translate[2] = 3;
    model->rotate[1] = model->autoRotate[1] = 45.0f;
    model->scale = 2.0f;
    evaluateAt(*model, 1.0f);
    expectMaps(model->modelMatrix, {1, 0, 0}, {1, 2, 1});

    // Keys (x, y, z) read become (x, -z, -y): x 0, 6, 12 at frames 0, 1, 2.
    folder.folder().write("path.txt", "0 0 0 0 0 0 0 0 0 0 0\n1 6 0 1 0 0 0 0 0 0 0\n2 12 0 2 0 0 0 0 0 0 0\n");
    model->keysFilename = "path.txt";
    model->rotate[1] = model->autoRotate[1] = 0.0f;
    model->scale = 1.0f;
    const std::pair<float, render::Vec3> times[] = {
        {1.5f / 60.0f, {6.05f, -1.00833f, 0}},  // frame 1 and a half: w = 0.5 / 60
        {5.0f, {12, -2, 0}},                     // after the last key
        {-1.0f, {12, -2, 0}},                    // before the first frame
    };
    for (auto [t, expected] : times) {
        evaluateAt(*model, t);
        expectMaps(model->modelMatrix, {0, 0, 0}, expected, 1e-4f);
    }
    EXPECT_FALSE(model->hasError);
}

TEST_F(ObjReaderNode, UploadsTheModelYDownAndAReloadReleasesTheOldObjects) {
    // One, Two, then a second One that replaces the first, which alone has the
    // fourth position; the bounds are taken over every corner all the same.
    folder.folder().write("models/a.obj",
                          "v 0 0 0\nv 4 0 0\nv 4 2 6\nv -2 -6 10\nvt 0.25 0.75\nvn 0.5 -1 0\n"
                          "o One\nf 4/1/1 1/1/1 2/1/1\no Two\nf 3/1/1 2/1/1 1/1/1\no One\nf 1/1/1 2/1/1 3/1/1\n");
    model->filename = "models\\A.obj";  // as written on Windows
    model->centerPivotOption = model->invertNormalsOption = true;
    evaluateAt(*model);
    ASSERT_EQ(model->objects.size(), 2u);
    EXPECT_EQ(model->objects[1].name, "Two");
    EXPECT_EQ(model->objects[0].indexCount, 3u);
    // Positions with y negated, normals inverted then y negated, v turned to 1 - v.
    const std::vector<std::array<float, 8>> two = {{4, -2, 6, -0.5f, -1, 0, 0.25f, 0.25f},
                                                   {4, 0, 0, -0.5f, -1, 0, 0.25f, 0.25f},
                                                   {0, 0, 0, -0.5f, -1, 0, 0.25f, 0.25f}};
    EXPECT_EQ(uploadedVertices(model->objects[1]), two);
    // Bounds of (x, -y, z): (-2, -2, 0) .. (4, 6, 10), centre (1, 2, 5).
    expectMaps(model->modelMatrix, {0, 0, 0}, {1, 2, 5});

    const GLuint vertexArray = model->objects[0].vertexArray, buffer = model->objects[1].indexBuffer;
    EXPECT_TRUE(glIsVertexArray(vertexArray));
    model->filename = "missing.obj";
    evaluateAt(*model);
    EXPECT_TRUE(model->objects.empty());
    EXPECT_FALSE(glIsVertexArray(vertexArray) || glIsBuffer(buffer));
    EXPECT_TRUE(model->hasError);
    expectMaps(model->modelMatrix, {0, 0, 0}, {1, 2, 5});  // the pivot stays
}

}  // namespace
}  // namespace vorn::test
