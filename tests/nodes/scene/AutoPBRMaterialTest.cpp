#include "nodes/scene/AutoPBRMaterial.h"

#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "platform/Paths.h"
#include "tests/nodes/scene/SceneTestNodes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/TempDir.h"

#include <vector>

namespace vorn::test {
namespace {

using nodes::PbrMaterial;

std::size_t loadLines(const platform::DebugCapture& log) {
    std::size_t count = 0;
    for (std::size_t at = log.text().find("Loading Auto PBR"); at != std::string::npos;
         at = log.text().find("Loading Auto PBR", at + 1))
        ++count;
    return count;
}

class AutoMaterialTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        // The resource directory as a project header written on Windows names it.
        graph.engine.resourceDirectory = folder.path() + "\\rsrc\\";
        ASSERT_TRUE(platform::makeDirectory(folder.file("rsrc")) && platform::makeDirectory(folder.file("rsrc/assets")));
        input = graph.create<TestGeometry>("Model", "Test Geometry");
        node = graph.create<nodes::GeometryNode_AutoPBRMaterial>("Auto", "PBR_AutoMaterial");
        graph.connect("Model", "Auto", 0);
    }
    void writeMap(const std::string& fileName, int width) {
        std::vector<uint8_t> pixels(std::size_t(width) * width * 3, 200);
        ASSERT_TRUE(platform::writePngFile(folder.file("rsrc/assets/" + fileName), width, width, 3, pixels.data()));
    }
    const PbrMaterial* materialOf(std::size_t object) { return nodes::asPbr(node->objects.at(object).material); }

    TempDir folder;
    SceneGraph graph;
    TestGeometry* input = nullptr;
    nodes::GeometryNode_AutoPBRMaterial* node = nullptr;
};

TEST_F(AutoMaterialTest, LoadsAndLogsTheFiveMapsOfAnObjectNameOnce) {
    input->add("wheel", 10);
    input->add("wheel", 20);  // the same name shares the material
    writeMap("wheel_albedo.png", 4);
    writeMap("wheel_normal.png", 2);
    platform::DebugCapture log;
    graph.evaluateAt(*node);

    const std::string folderText = folder.path() + "\\rsrc\\\\assets\\wheel_";
    const char* expected[] = {"albedo.png -> OK!", "roughness.png -> FAILED!", "metalness.png -> FAILED!",
                              "emissive.png -> FAILED!", "normal.png -> OK!"};
    std::size_t previous = 0;
    for (const char* line : expected) {
        std::size_t at = log.text().find("Loading Auto PBR from: " + folderText + line + "\n\n");
        ASSERT_NE(at, std::string::npos) << line;
        EXPECT_GE(at, previous) << line;
        previous = at;
    }
    EXPECT_EQ(loadLines(log), 5u);

    const PbrMaterial* wheel = materialOf(0);
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(materialOf(1), wheel);
    ASSERT_TRUE(wheel->albedoMap && wheel->normalMap);
    EXPECT_EQ(wheel->albedoMap->width, 4);
    EXPECT_EQ(wheel->normalMap->width, 2);
    EXPECT_FALSE(wheel->roughnessMap || wheel->metalnessMap || wheel->lightMap);

    log.clear();
    graph.evaluateAt(*node);
    EXPECT_EQ(loadLines(log), 0u);
    EXPECT_EQ(materialOf(0), wheel);
}

TEST_F(AutoMaterialTest, CopiesBakeThePlacementCarriedMaterialsYieldAndOverridesSetTheNamedMaterial) {
    auto* carried = graph.create<TestMaterial>("Carried", "Test Material");
    auto* inputMaterial = graph.create<TestMaterial>("Node", "Test Material");
    auto* settings = graph.create<TestMaterial>("Settings", "Test Material");
    input->modelMatrix = render::translationMatrix(1, 2, 3);
    input->material = &inputMaterial->record;
    input->add("wheel", 10).matrix = render::scaleMatrix(2, 2, 2);
    input->add("carrier", 20).material = &carried->record;
    PbrMaterial& s = settings->record;
    s.albedoColor = {0.5f, 0.25f, 0.125f, 1};
    s.illumination = 3;
    s.inDynRef = false;
    s.roughness = 0.25f;  // not an overridden setting
    graph.connect("Settings", "Auto", 3);
    node->objectNames[2] = "wheel";
    graph.connect("Settings", "Auto", 1);
    node->objectNames[0] = "ghost";  // no object has it: nothing is loaded for it
    platform::DebugCapture log;
    graph.evaluateAt(*node);

    ASSERT_EQ(node->objects.size(), 2u);
    expectMaps(node->objects[0].matrix, {1, 0, 0}, {3, 2, 3});
    expectMaps(node->modelMatrix, {1, 0, 0}, {1, 0, 0});
    EXPECT_EQ(node->objects[0].vertexArray, 10u);
    EXPECT_EQ(node->objects[1].material, &inputMaterial->record);
    EXPECT_EQ(node->material, &inputMaterial->record);
    const PbrMaterial* wheel = materialOf(0);
    ASSERT_TRUE(wheel && wheel != &inputMaterial->record);
    EXPECT_EQ(wheel->albedoColor, s.albedoColor);
    EXPECT_EQ(wheel->illumination, 3);
    EXPECT_FALSE(wheel->inDynRef);
    EXPECT_EQ(wheel->roughness, 1.0f);
    EXPECT_EQ(log.text().find("ghost"), std::string::npos);

    graph.engine.deleteNode("Model");
    graph.evaluateAt(*node);
    EXPECT_TRUE(node->objects.empty());
    EXPECT_EQ(node->material, nullptr);
}

}  // namespace
}  // namespace vorn::test
