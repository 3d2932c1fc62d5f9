#include "nodes/scene/BlenderCamera.h"
#include "nodes/scene/HoverCamera.h"
#include "tests/nodes/scene/SceneGlTest.h"

namespace vorn::test {
namespace {

using namespace nodes;

using CameraNodes = SceneGlTest;

TEST_F(CameraNodes, TheHoverCameraLooksFromItsScaledPositionAtItsCentre) {
    auto* camera = create<CameraNode_HoverCamera>("Hover", "Camera_Hover");
    EXPECT_TRUE(evaluatedAt(*camera, 3.0f));
    // Defaults: eye (0, 0, -2) looking at the origin along +z, so the origin is
    // 2 ahead (-z in view space) and world +x is on the left.
    expectMaps(camera->viewMatrix, {0, 0, -2}, {0, 0, 0});
    expectMaps(camera->viewMatrix, {0, 0, 0}, {0, 0, -2});
    expectMaps(camera->viewMatrix, {1, 0, 0}, {-1, 0, -2});
    EXPECT_NEAR(camera->projectionMatrix[0], 1.7320508f / 1.7777778f, 1e-5f);  // 1 / tan(30 degrees) at 16:9

    // Pan moves eye and target sideways, (-1, 0, 0) for this direction.
    camera->pan = 1.0f;
    evaluatedAt(*camera, 3.0f);
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
    folder_.folder().write("cam.txt", path);
    auto* camera = create<CameraNode_BlenderCamera>("Cam", "Camera_Blender");
    camera->file = "cam.txt";

    // 0.125 s at 60 fps is frame 7.5: w = 0.5 / 60 of the way to frame 8.
    EXPECT_TRUE(evaluatedAt(*camera, 0.125f));
    expectMaps(camera->viewMatrix, {0, 0, 0}, {7.0f + 0.5f / 60.0f, 0, 0}, 1e-4f);

    camera->frames[8].position[0] = 10.0f;  // 3 from frame 7: a cut
    evaluatedAt(*camera, 0.125f);
    expectMaps(camera->viewMatrix, {0, 0, 0}, {7, 0, 0});

    // From frame 9 on: Rz(90) T(9, 0, 0), the -90 about x ignored.
    for (float t : {0.16f, 60.0f}) {
        EXPECT_TRUE(evaluatedAt(*camera, t));
        expectMaps(camera->viewMatrix, {0, 0, 0}, {0, 9, 0});
        expectMaps(camera->viewMatrix, {0, 0, 1}, {0, 9, 1});
    }

    EXPECT_FALSE(evaluatedAt(*camera, -1.0f));
    EXPECT_EQ(camera->viewMatrix, render::identityMatrix());
    camera->file = "missing.txt";
    EXPECT_FALSE(evaluatedAt(*camera, 1.0f));
    EXPECT_TRUE(camera->hasError);
}

}  // namespace
}  // namespace vorn::test
