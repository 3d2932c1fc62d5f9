#include "nodes/scene/BlenderCamera.h"
#include "nodes/scene/ObjReader.h"
#include "nodes/scene/PbrFixMaterial.h"
#include "nodes/scene/TimeSwitchCamera.h"
#include "platform/ImageEncoder.h"
#include "tests/nodes/scene/SceneGlTest.h"
#include "ui/Player.h"

namespace vorn::test {
namespace {

using namespace nodes;

using SceneProduction = SceneGlTest;

// A model with a library, a fix material with its default maps in the
// resource folder, a file camera and a camera time switch, saved as a
// project and played: every node loads without an error.
TEST_F(SceneProduction, LoadsAndPlaysWithNoNodeInError) {
    folder_.folder().write("rsrc/models/box.obj",
                           "mtllib box.mtl\nv 0 0 0\nv 1 0 0\nv 1 1 0\nv 0 1 0\nusemtl Red\no Box\nf 1 2 3 4\n");
    folder_.folder().write("rsrc/models/box.mtl", "newmtl Red\nKd 1 0 0\n");
    folder_.folder().write("rsrc/path.txt", "1 0 0 5 0 0 0 1.5707964 0 0 0\n2 0 0 6 0 0 0 1.5707964 0 0 0\n");
    const uint8_t grey[3 * 4] = {128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128, 128};
    std::optional<std::vector<uint8_t>> jpeg = platform::encodeJpeg(2, 2, 3, grey, 90);
    ASSERT_TRUE(jpeg);
    for (const char* name : {"white.jpg", "norm.jpg", "black.jpg"})
        folder_.folder().write(std::string("rsrc/misc/") + name, *jpeg);

    engine.initialise();
    create<GeometryNode_ObjReader>("Model", "3D_ObjReader")->filename = "rsrc\\models\\box.obj";
    create<PBR_FixMaterialNode>("Look", "PBR_FixMaterial");
    create<CameraNode_BlenderCamera>("Cam", "Camera_Blender")->file = "rsrc\\path.txt";
    create<Transform3DNode_TimeSwitch>("Cut", "Time Switch Camera")->stopTexts[0] = "10";
    connect("Look", "Model", 0);
    ASSERT_TRUE(engine.saveProject("demo.vorn"));
    engine.clearScene();

    ui::Player player(nullptr);
    ASSERT_TRUE(player.loadProject("demo.vorn"));
    engine::Engine& played = player.engine();
    for (float t : {0.0f, 0.5f}) {
        played.time = t;
        for (auto& [name, node] : played.nodesByName) {
            node->evaluated = false;
            node->evaluate();
        }
    }
    for (const char* name : {"Model", "Look", "Cam", "Cut"}) {
        engine::Node* node = played.findNode(name);
        ASSERT_NE(node, nullptr) << name;
        EXPECT_FALSE(node->hasError) << name;
    }
    auto* model = dynamic_cast<GeometryNode_ObjReader*>(played.findNode("Model"));
    ASSERT_EQ(model->objects.size(), 1u);
    EXPECT_EQ(model->objects[0].indexCount, 6u);
    EXPECT_EQ(model->material, dynamic_cast<MaterialNode*>(played.findNode("Look"))->getMaterial());
    EXPECT_EQ(dynamic_cast<CameraNode_BlenderCamera*>(played.findNode("Cam"))->frames.size(), 2u);
}

}  // namespace
}  // namespace vorn::test
