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

using nodes::GeometryNode_AutoPBRMaterial;
using nodes::PbrMaterial;

std::size_t occurrences(const std::string& text, const std::string& needle) {
    std::size_t count = 0;
    for (std::size_t at = text.find(needle); at != std::string::npos; at = text.find(needle, at + 1)) ++count;
    return count;
}

class AutoMaterialTest : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        // The resource directory as a project header written on Windows names it.
        graph.engine.resourceDirectory = folder.path() + "\\rsrc\\";
        ASSERT_TRUE(platform::makeDirectory(folder.path() + "/rsrc"));
        ASSERT_TRUE(platform::makeDirectory(folder.path() + "/rsrc/assets"));
        input = graph.create<TestGeometry>("Model", "Test Geometry");
        node = graph.create<GeometryNode_AutoPBRMaterial>("Auto", "PBR_AutoMaterial");
        ASSERT_NE(node, nullptr);
        graph.connect("Model", "Auto", 0);
    }
    void writeMap(const std::string& fileName, int width, int channels) {
        std::vector<uint8_t> pixels(std::size_t(width) * width * channels, 200);
        ASSERT_TRUE(platform::writePngFile(folder.path() + "/rsrc/assets/" + fileName, width, width, channels,
                                           pixels.data()));
    }
    const PbrMaterial* materialOf(std::size_t object) { return nodes::asPbr(node->objects.at(object).material); }

    TempDir folder;
    SceneGraph graph;
    TestGeometry* input = nullptr;
    GeometryNode_AutoPBRMaterial* node = nullptr;
};

TEST_F(AutoMaterialTest, LoadsTheFiveMapsOfEachObjectNameOnceAndLogsEveryTry) {
    input->add("wheel", 10);
    input->add("body", 20);
    input->add("wheel", 30);  // a second object of the same name shares its material
    writeMap("wheel_albedo.png", 4, 3);
    writeMap("wheel_normal.png", 2, 4);

    platform::DebugCapture log;
    graph.evaluateAt(*node);
    const std::string assets = folder.path() + "\\rsrc\\\\assets\\";
    struct Line {
        const char* file;
        bool loads;
    };
    const Line lines[] = {
        {"wheel_albedo.png", true},    {"wheel_roughness.png", false}, {"wheel_metalness.png", false},
        {"wheel_emissive.png", false}, {"wheel_normal.png", true},     {"body_albedo.png", false},
        {"body_roughness.png", false}, {"body_metalness.png", false},  {"body_emissive.png", false},
        {"body_normal.png", false},
    };
    std::size_t previous = 0;
    for (const Line& line : lines) {
        std::string text = "Loading Auto PBR from: " + assets + line.file + (line.loads ? " -> OK!\n\n" : " -> FAILED!\n\n");
        std::size_t at = log.text().find(text);
        EXPECT_NE(at, std::string::npos) << text;
        EXPECT_GE(at, previous) << "out of order: " << line.file;
        previous = at;
    }
    EXPECT_EQ(occurrences(log.text(), "Loading Auto PBR from: "), 10u);

    const PbrMaterial* wheel = materialOf(0);
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(materialOf(2), wheel);
    ASSERT_NE(wheel->albedoMap, nullptr);
    EXPECT_EQ(wheel->albedoMap->width, 4);
    ASSERT_NE(wheel->normalMap, nullptr);
    EXPECT_EQ(wheel->normalMap->width, 2);
    EXPECT_EQ(wheel->roughnessMap, nullptr);
    EXPECT_EQ(wheel->metalnessMap, nullptr);
    EXPECT_EQ(wheel->lightMap, nullptr);
    // Without maps the material is still used.
    EXPECT_NE(materialOf(1), nullptr);
    EXPECT_NE(materialOf(1), wheel);

    log.clear();
    graph.evaluateAt(*node);
    EXPECT_EQ(occurrences(log.text(), "Loading Auto PBR from: "), 0u);
    EXPECT_EQ(materialOf(0), wheel);
}

TEST_F(AutoMaterialTest, CopiesBakeThePlacementAndCarriedMaterialsYieldToTheInputNodes) {
    auto* carried = graph.create<TestMaterial>("Carried", "Test Material");
    auto* nodeMaterial = graph.create<TestMaterial>("Node", "Test Material");
    input->modelMatrix = render::translationMatrix(1, 2, 3);
    input->material = &nodeMaterial->record;
    input->add("plain", 10).matrix = render::scaleMatrix(2, 2, 2);
    input->add("carrier", 20).material = &carried->record;

    graph.evaluateAt(*node);
    ASSERT_EQ(node->objects.size(), 2u);
    expectPoint(transformed(node->objects[0].matrix, {1, 0, 0}), {3, 2, 3});
    expectPoint(transformed(node->modelMatrix, {1, 0, 0}), {1, 0, 0});
    EXPECT_EQ(node->objects[0].vertexArray, 10u);
    const nodes::Material* own = node->objects[0].material;
    EXPECT_NE(own, nullptr);
    EXPECT_NE(own, &nodeMaterial->record);
    EXPECT_EQ(node->objects[1].material, &nodeMaterial->record);
    EXPECT_EQ(node->material, &nodeMaterial->record);

    graph.engine.deleteNode("Model");
    graph.evaluateAt(*node);
    EXPECT_TRUE(node->objects.empty());
    EXPECT_EQ(node->material, nullptr);
}

TEST_F(AutoMaterialTest, OverridesSetColoursAndIntensitiesOfTheNamedObjectsMaterialOnly) {
    input->add("wheel", 10);
    auto* settings = graph.create<TestMaterial>("Settings", "Test Material");
    PbrMaterial& s = settings->record;
    s.albedoColor = {0.5f, 0.25f, 0.125f, 1};
    s.albedoIntensity = 2;
    s.illumColor = {0, 1, 0, 1};
    s.illumination = 3;
    s.normalStrength = -1;
    s.receiveDynRef = false;
    s.inDynRef = false;
    s.roughness = 0.25f;
    s.metalness = 0.75f;
    s.incidentEmission = 2;
    s.nearClip = 5;
    s.farClip = 50;
    graph.connect("Settings", "Auto", 3);
    node->objectNames[2] = "wheel";
    // A name no object carries loads nothing and changes nothing.
    graph.connect("Settings", "Auto", 1);
    node->objectNames[0] = "ghost";

    platform::DebugCapture log;
    graph.evaluateAt(*node);
    const PbrMaterial* wheel = materialOf(0);
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(wheel->albedoColor, s.albedoColor);
    EXPECT_EQ(wheel->albedoIntensity, 2);
    EXPECT_EQ(wheel->illumColor, s.illumColor);
    EXPECT_EQ(wheel->illumination, 3);
    EXPECT_EQ(wheel->normalStrength, -1);
    EXPECT_FALSE(wheel->receiveDynRef);
    EXPECT_FALSE(wheel->inDynRef);
    PbrMaterial defaults;
    EXPECT_EQ(wheel->roughness, defaults.roughness);
    EXPECT_EQ(wheel->metalness, defaults.metalness);
    EXPECT_EQ(wheel->incidentEmission, defaults.incidentEmission);
    EXPECT_EQ(wheel->nearClip, defaults.nearClip);
    EXPECT_EQ(wheel->farClip, defaults.farClip);
    EXPECT_EQ(occurrences(log.text(), "ghost_"), 0u);

    struct Wiring {
        int index;
        const char* source;
        bool accepted;
    };
    const Wiring wiring[] = {{0, "Settings", false}, {10, "Settings", true}, {11, "Settings", false},
                             {0, "Model", true},     {5, "Model", false}};
    for (const Wiring& w : wiring)
        EXPECT_EQ(node->acceptsInput(w.index, *graph.engine.findNode(w.source)), w.accepted) << w.index;
}

}  // namespace
}  // namespace vorn::test
