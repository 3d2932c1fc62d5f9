// "3D_ObjReader", the cameras, "Time Switch Camera" and "3D_TransformFromCamera".
#include "nodes/scene/BlenderCamera.h"
#include "nodes/scene/HoverCamera.h"
#include "nodes/scene/ObjReader.h"
#include "nodes/scene/TimeSwitchCamera.h"
#include "nodes/scene/TransformFromCamera.h"
#include "tests/nodes/scene/SceneTest.h"

namespace vorn::test {
namespace {

using namespace nodes;

using SceneNodes = SceneTest;

TEST_F(SceneNodes, TheObjReaderPlacesTheModelAndFollowsItsKeysAtSixtyASecond) {
    auto* model = create<GeometryNode_ObjReader>("Model", "3D_ObjReader");
    // Translate (1, 2, 3), Rotate (0, 45 + 45/s x 1 s, 0), Scale 2: (1, 0, 0) is
    // scaled to (2, 0, 0), turned about y to (0, 0, -2), moved to (1, 2, 1).
    std::copy_n(std::array<float, 3>{1, 2, 3}.data(), 3, model->translate);
    model->rotate[1] = model->autoRotate[1] = 45.0f;
    model->scale = 2.0f;
    evaluateAt(*model, 1.0f);
    expectMaps(model->modelMatrix, {1, 0, 0}, {1, 2, 1});

    // Keys (x, y, z) read become (x, -z, -y): x 0, 6, 12 at frames 0, 1, 2.
    folder.folder().write("path.txt", "0 0 0 0 0 0 0 0 0 0 0\n1 6 0 1 0 0 0 0 0 0 0\n2 12 0 2 0 0 0 0 0 0 0\n");
    model->keysFilename = "path.txt";
    model->rotate[1] = model->autoRotate[1] = 0.0f;
    model->scale = 1.0f;
    // Frame 1 and a half (w = 0.5 / 60); after the last key; before the first frame.
    for (auto [t, expected] : {std::pair{1.5f / 60.0f, render::Vec3{6.05f, -1.00833f, 0}}, {5.0f, {12, -2, 0}},
                               {-1.0f, {12, -2, 0}}}) {
        evaluateAt(*model, t);
        expectMaps(model->modelMatrix, {0, 0, 0}, expected, 1e-4f);
    }
}

TEST_F(SceneNodes, TheObjReaderUploadsTheModelYDownAndAReloadReleasesTheOldObjects) {
    auto* model = create<GeometryNode_ObjReader>("Model", "3D_ObjReader");
    // One, Two, then a second One that replaces the first, which alone has the
    // fourth position; the bounds are taken over every corner all the same.
    folder.folder().write("models/a.obj",
                          "v 0 0 0\nv 4 0 0\nv 4 2 6\nv -2 -6 10\nvt 0.25 0.75\nvn 0.5 -1 0\n"
                          "o One\nf 4/1/1 1/1/1 2/1/1\no Two\nf 3/1/1 2/1/1 1/1/1\no One\nf 1/1/1 2/1/1 3/1/1\n");
    model->filename = "models\\A.obj";  // as written on Windows
    model->centerPivotOption = model->invertNormalsOption = true;
    evaluateAt(*model);
    ASSERT_EQ(model->objects.size(), 2u);
    // Positions with y negated, normals inverted then y negated, v turned to 1 - v.
    const std::vector<VertexRow> two = {{4, -2, 6, -0.5f, -1, 0, 0.25f, 0.25f},
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

TEST_F(SceneNodes, TheFileCameraBlendsFramesExceptAcrossCutsAndEndsOnTheThirdAngle) {
    // Ten frames at x = 0 .. 9 (c1 = -x), no rotation (c7 = pi/2); frame 9
    // turns 90 degrees about z (c8 = -pi/2) and -90 about x (c7 = 0).
    std::string path;
    for (int n = 1; n <= 10; ++n)
        path += std::to_string(n) + " " + std::to_string(-(n - 1)) + " 0 0 0 0 0 " +
                (n == 10 ? "0 -1.5707964" : "1.5707964 0") + " 0 0\n";
    folder.folder().write("paths/cam.txt", path);
    auto* camera = create<CameraNode_BlenderCamera>("Cam", "Camera_Blender");
    camera->file = "paths\\cam.txt";  // as written on Windows
    // 0.125 s at 60 fps is frame 7.5: w = 0.5 / 60 of the way to frame 8.
    EXPECT_TRUE(evaluateAt(*camera, 0.125f));
    expectMaps(camera->viewMatrix, {0, 0, 0}, {7.0f + 0.5f / 60.0f, 0, 0}, 1e-4f);
    camera->frames[8].position[0] = 10.0f;  // 3 from frame 7: a cut
    evaluateAt(*camera, 0.125f);
    expectMaps(camera->viewMatrix, {0, 0, 0}, {7, 0, 0});
    // From frame 9 on: Rz(90) T(9, 0, 0), the -90 about x ignored.
    for (float t : {0.16f, 60.0f}) {
        EXPECT_TRUE(evaluateAt(*camera, t));
        expectMaps(camera->viewMatrix, {0, 0, 0}, {0, 9, 0});
        expectMaps(camera->viewMatrix, {0, 0, 1}, {0, 9, 1});
    }
    camera->file = "missing.txt";
    EXPECT_FALSE(evaluateAt(*camera, 1.0f));
    EXPECT_TRUE(camera->hasError);
}

// A transform that moves one further each time it is processed.
class CountingTransform : public engine::Transform3DNode {
public:
    using Transform3DNode::Transform3DNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override {
        matrix[12] += 1.0f;
        return true;
    }
};

TEST_F(SceneNodes, TheTimeSwitchEvaluatesItsInputOnlyInsideAWindowAndKeepsItsMatrixOutside) {
    engine.factory.add("Counting", engine::constructs<CountingTransform>());
    auto* input = create<CountingTransform>("Input", "Counting");
    auto* timeSwitch = create<Transform3DNode_TimeSwitch>("Switch", "Time Switch Camera");
    connect("Input", "Switch", 0);
    timeSwitch->startTexts = {"10", "30", "abc", "5"};
    timeSwitch->stopTexts = {"20", "40", "3", "5"};  // C is 0 .. 3; D is empty
    // The input's count of evaluations at each time; the switch shows its last matrix.
    for (auto [t, count] : {std::pair{35.0f, 1}, {25.0f, 1}, {10.0f, 2}, {20.0f, 3}, {2.0f, 4}, {5.0f, 4}}) {
        const bool active = float(count) > input->matrix[12];
        EXPECT_EQ(evaluateAt(*timeSwitch, t), active) << t;
        EXPECT_EQ(input->matrix[12], float(count)) << t;
        EXPECT_EQ(timeSwitch->matrix[12], float(count)) << t;
    }
}

TEST_F(SceneNodes, TheHoverCameraLooksAtItsCentreAndFromCameraSharesObjectsUnderItsViewKeepingNoStaleCopies) {
    auto* camera = create<CameraNode_HoverCamera>("Cam", "Camera_Hover");
    EXPECT_TRUE(evaluateAt(*camera, 3.0f));
    // Eye (0, 0, -2) looking at the origin along +z: the origin is 2 ahead (-z
    // in view space) and world +x is on the left.
    expectMaps(camera->viewMatrix, {0, 0, -2}, {0, 0, 0});
    expectMaps(camera->viewMatrix, {1, 0, 0}, {-1, 0, -2});
    // The lens: 60 degrees (1 / tan 30 = 1.7320508), 16:9, near 0.1, far 10000.
    const render::Mat4 lens = {0.9742786f, 0, 0, 0, 0, 1.7320508f, 0, 0, 0, 0, -1.00002f, -1, 0, 0, -0.200002f, 0};
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(camera->projectionMatrix[i], lens[i], 1e-5f) << i;

    auto* geometry = create<TestGeometry>("Thing", "Test Geometry");
    geometry->objects.push_back(createMeshObject(MeshData{"thing", {}, {}}));  // owned, released with the node
    geometry->modelMatrix = render::translationMatrix(1, 0, 0);
    auto* fromCamera = create<Transform3DNode_FromCamera>("Fixed", "3D_TransformFromCamera");
    connect("Thing", "Fixed", 0);
    connect("Cam", "Fixed", 1);
    evaluateAt(*fromCamera);
    ASSERT_EQ(fromCamera->objects.size(), 1u);
    const GLuint vertexArray = geometry->objects[0].vertexArray;
    EXPECT_EQ(fromCamera->objects[0].vertexArray, vertexArray);
    // The geometry's (1, 0, 0) offset, then the camera at (0, 0, -2): (-1, 0, -2).
    expectMaps(fromCamera->modelMatrix, {0, 0, 0}, {-1, 0, -2});
    ASSERT_TRUE(engine.deleteNode("Fixed"));
    EXPECT_TRUE(glIsVertexArray(vertexArray));  // not the copy's to delete

    fromCamera = create<Transform3DNode_FromCamera>("Fixed", "3D_TransformFromCamera");
    connect("Thing", "Fixed", 0);
    evaluateAt(*fromCamera);
    expectMaps(fromCamera->modelMatrix, {0, 0, 0}, {1, 0, 0});
    ASSERT_TRUE(engine.deleteNode("Thing"));
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    evaluateAt(*fromCamera);
    EXPECT_TRUE(fromCamera->objects.empty());  // no copies of deleted objects
    EXPECT_EQ(fromCamera->modelMatrix, render::identityMatrix());
}

}  // namespace
}  // namespace vorn::test
