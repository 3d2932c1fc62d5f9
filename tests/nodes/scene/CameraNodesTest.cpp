// The cameras, "Time Switch Camera" and "3D_TransformFromCamera".
#include "nodes/scene/BlenderCamera.h"
#include "nodes/scene/HoverCamera.h"
#include "nodes/scene/TimeSwitchCamera.h"
#include "nodes/scene/TransformFromCamera.h"
#include "tests/nodes/scene/SceneTest.h"

namespace vorn::test {
namespace {

using namespace nodes;

using CameraNodes = SceneTest;

TEST_F(CameraNodes, TheHoverCameraLooksFromItsScaledPositionAtItsCentre) {
    auto* camera = create<CameraNode_HoverCamera>("Hover", "Camera_Hover");
    EXPECT_TRUE(evaluateAt(*camera, 3.0f));
    // Defaults: eye (0, 0, -2) looking at the origin along +z, so the origin is
    // 2 ahead (-z in view space) and world +x is on the left.
    expectMaps(camera->viewMatrix, {0, 0, -2}, {0, 0, 0});
    expectMaps(camera->viewMatrix, {1, 0, 0}, {-1, 0, -2});
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(camera->projectionMatrix[i], defaultLens()[i], 1e-5f) << i;
    // Pan moves eye and target sideways, (-1, 0, 0) for this direction.
    camera->pan = 1.0f;
    evaluateAt(*camera, 3.0f);
    expectMaps(camera->viewMatrix, {-1, 0, -2}, {0, 0, 0});
    expectMaps(camera->viewMatrix, {-1, 0, 0}, {0, 0, -2});
}

TEST_F(CameraNodes, TheFileCameraBlendsFramesExceptAcrossCutsAndEndsOnTheThirdAngle) {
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
    EXPECT_FALSE(evaluateAt(*camera, -1.0f));
    EXPECT_EQ(camera->viewMatrix, render::identityMatrix());
    camera->file = "missing.txt";
    EXPECT_FALSE(evaluateAt(*camera, 1.0f));
    EXPECT_TRUE(camera->hasError);
}

// A transform that counts its processing and moves by one more each time.
class CountingTransform : public engine::Transform3DNode {
public:
    using Transform3DNode::Transform3DNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override {
        matrix[12] = float(++count);
        return true;
    }
    int count = 0;
};

TEST_F(CameraNodes, TheTimeSwitchEvaluatesItsInputOnlyInsideAWindow) {
    engine.factory.add("Counting", engine::constructs<CountingTransform>());
    auto* input = create<CountingTransform>("Input", "Counting");
    auto* timeSwitch = create<Transform3DNode_TimeSwitch>("Switch", "Time Switch Camera");
    connect("Input", "Switch", 0);
    EXPECT_FALSE(evaluateAt(*timeSwitch, 0.0f));  // all windows "0" .. "0": never active
    EXPECT_TRUE(timeSwitch->evaluated);
    EXPECT_EQ(input->count, 0);

    timeSwitch->startTexts = {"10", "30", "abc", "5"};
    timeSwitch->stopTexts = {"20", "40", "3", "5"};  // C is 0 .. 3; D is empty
    for (auto [t, count] : {std::pair{35.0f, 1}, {25.0f, 1}, {10.0f, 2}, {20.0f, 3}, {2.0f, 4}, {5.0f, 4}}) {
        bool active = count > input->count;
        EXPECT_EQ(evaluateAt(*timeSwitch, t), active) << t;
        EXPECT_EQ(input->count, count) << t;
        EXPECT_EQ(timeSwitch->matrix[12], float(count)) << t;  // kept while inactive
    }
}

TEST_F(CameraNodes, FromCameraSharesTheGeometrysObjectsUnderTheCamerasViewAndKeepsNoStaleCopies) {
    auto* geometry = create<TestGeometry>("Thing", "Test Geometry");
    geometry->objects.push_back(createMeshObject(MeshData{"thing", {}, {}}));  // owned, released with the node
    geometry->modelMatrix = render::translationMatrix(1, 0, 0);
    create<CameraNode_HoverCamera>("Cam", "Camera_Hover");
    auto* fromCamera = create<Transform3DNode_FromCamera>("Fixed", "3D_TransformFromCamera");
    EXPECT_FALSE(engine.connect("Cam", "Fixed", 0));
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
