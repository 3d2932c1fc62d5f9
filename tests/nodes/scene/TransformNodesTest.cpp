#include "nodes/scene/HoverCamera.h"
#include "nodes/scene/Mesh.h"
#include "nodes/scene/TimeSwitchCamera.h"
#include "nodes/scene/TransformFromCamera.h"
#include "tests/nodes/scene/SceneGlTest.h"

namespace vorn::test {
namespace {

using namespace nodes;

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

// A geometry node that owns one real (empty) GL object.
class OneObject : public GeometryNode {
public:
    OneObject(engine::Engine& owner, std::string name) : GeometryNode(owner, std::move(name)) {
        objects.push_back(createMeshObject(MeshData{"thing", {}, {}}));
        modelMatrix = render::translationMatrix(1, 0, 0);
    }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
};

class TransformNodes : public SceneGlTest {
protected:
    void SetUp() override {
        SceneGlTest::SetUp();
        engine.factory.add("Test Transform", engine::constructs<CountingTransform>());
        engine.factory.add("One Object", engine::constructs<OneObject>());
    }
};

TEST_F(TransformNodes, TheTimeSwitchEvaluatesItsInputOnlyInsideAWindow) {
    auto* input = create<CountingTransform>("Input", "Test Transform");
    auto* timeSwitch = create<Transform3DNode_TimeSwitch>("Switch", "Time Switch Camera");
    connect("Input", "Switch", 0);

    // All windows "0" .. "0": never active.
    EXPECT_FALSE(evaluatedAt(*timeSwitch, 0.0f));
    EXPECT_TRUE(timeSwitch->evaluated);
    EXPECT_EQ(input->count, 0);

    timeSwitch->startTexts = {"10", "30", "abc", "5"};
    timeSwitch->stopTexts = {"20", "40", "3", "5"};  // C is 0 .. 3; D is empty
    const std::pair<float, int> frames[] = {{35.0f, 1}, {25.0f, 1}, {10.0f, 2}, {20.0f, 3}, {2.0f, 4}, {5.0f, 4}};
    for (auto [t, count] : frames) {
        bool active = count > input->count;
        EXPECT_EQ(evaluatedAt(*timeSwitch, t), active) << t;
        EXPECT_EQ(input->count, count) << t;
        EXPECT_EQ(timeSwitch->matrix[12], float(count)) << t;  // kept while inactive
    }
}

TEST_F(TransformNodes, FromCameraSharesTheGeometrysObjectsUnderTheCamerasView) {
    auto* geometry = create<OneObject>("Thing", "One Object");
    ASSERT_NE(create<CameraNode_HoverCamera>("Cam", "Camera_Hover"), nullptr);
    auto* fromCamera = create<Transform3DNode_FromCamera>("Fixed", "3D_TransformFromCamera");
    EXPECT_FALSE(engine.connect("Cam", "Fixed", 0));
    connect("Thing", "Fixed", 0);
    connect("Cam", "Fixed", 1);

    evaluatedAt(*fromCamera, 0.0f);
    ASSERT_EQ(fromCamera->objects.size(), 1u);
    EXPECT_EQ(fromCamera->objects[0].vertexArray, geometry->objects[0].vertexArray);
    // The geometry's (1, 0, 0) offset, then the camera at (0, 0, -2): (-1, 0, -2).
    expectMaps(fromCamera->modelMatrix, {0, 0, 0}, {-1, 0, -2});

    const GLuint vertexArray = geometry->objects[0].vertexArray;
    ASSERT_TRUE(engine.deleteNode("Fixed"));
    EXPECT_TRUE(glIsVertexArray(vertexArray));  // not the copy's to delete

    fromCamera = create<Transform3DNode_FromCamera>("Fixed", "3D_TransformFromCamera");
    connect("Thing", "Fixed", 0);
    evaluatedAt(*fromCamera, 0.0f);
    expectMaps(fromCamera->modelMatrix, {0, 0, 0}, {1, 0, 0});
    ASSERT_TRUE(engine.deleteNode("Thing"));
    EXPECT_FALSE(glIsVertexArray(vertexArray));
    evaluatedAt(*fromCamera, 0.0f);
    EXPECT_TRUE(fromCamera->objects.empty());  // no stale copies of deleted objects
    EXPECT_EQ(fromCamera->modelMatrix, render::identityMatrix());
}

}  // namespace
}  // namespace vorn::test
