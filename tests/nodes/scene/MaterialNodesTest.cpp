// The material nodes and "PBR_AutoMaterial": which maps they hold, shared
// textures, inputs that go away, and the automatic maps' paths and log lines.
#include "nodes/image/Reader.h"
#include "nodes/scene/AutoPBRMaterial.h"
#include "nodes/scene/PbrFixMaterial.h"
#include "nodes/scene/PbrMaterial.h"
#include "nodes/scene/RadMaterial.h"
#include "platform/Debug.h"
#include "platform/ImageEncoder.h"
#include "tests/nodes/scene/SceneTest.h"

namespace vorn::test {
namespace {

using namespace nodes;

class MaterialNodes : public SceneTest {
protected:
    // A grey PNG of size x size pixels in the working folder.
    void writePicture(const std::string& path, int size) {
        std::vector<uint8_t> pixels(std::size_t(size * size * 3), 200);
        std::optional<std::vector<uint8_t>> png = platform::encodePng(size, size, 3, pixels.data());
        ASSERT_TRUE(png);
        folder.folder().write(path, *png);
    }
};

TEST_F(MaterialNodes, FixMaterialsOfAnEngineShareOneTexturePerFile) {
    writePicture("a.png", 2);
    writePicture("b.png", 4);
    auto* first = create<PBR_FixMaterialNode>("First", "PBR_FixMaterial");
    auto* second = create<PBR_FixMaterialNode>("Second", "PBR_FixMaterial");
    first->mapFiles.fill("a.png");
    second->mapFiles.fill("a.png");
    second->mapFiles[1] = "b.png";
    first->process();
    second->process();
    EXPECT_EQ(second->record.albedoMap, first->record.albedoMap);
    EXPECT_EQ(first->record.normalMap, first->record.albedoMap);  // one file, one texture
    ASSERT_NE(second->record.normalMap, first->record.normalMap);
    EXPECT_EQ(second->record.normalMap->width, 4);
    EXPECT_FALSE(first->hasError);

    render::GL_Image* texture = first->record.albedoMap;
    first->mapFiles[0] = "b.png";
    first->process();
    EXPECT_EQ(first->record.albedoMap, second->record.normalMap);
    first->mapFiles[0] = "a.png";
    first->process();
    EXPECT_EQ(first->record.albedoMap, texture);  // back to the earlier file: no new texture
    // A file that does not decode gets an empty texture, shown as an error.
    first->mapFiles[4] = "missing.png";
    first->process();
    ASSERT_NE(first->record.lightMap, nullptr);
    EXPECT_EQ(first->record.lightMap->width, 0);
    EXPECT_TRUE(first->hasError);
}

TEST_F(MaterialNodes, PbrMapsFollowTheirInputsAndRadMapsOutliveThem) {
    writePicture("p.png", 2);
    engine.factory.add("2D_ImgReader", engine::constructs<ImageNode_Reader>());
    auto* reader = create<ImageNode_Reader>("Picture", "2D_ImgReader");
    reader->filename = "p.png";
    reader->process();
    ASSERT_NE(reader->images[0], nullptr);
    auto* pbr = create<PBR_MaterialNode>("Pbr", "PBR_Material");
    auto* rad = create<RAD_MaterialNode>("Rad", "Material");
    connect("Picture", "Pbr", 3);
    connect("Picture", "Rad", 1);
    pbr->process();
    rad->process();
    EXPECT_EQ(pbr->record.metalnessMap, reader->images[0]);
    EXPECT_EQ(pbr->record.roughnessMap, nullptr);
    EXPECT_EQ(rad->record.illuminationMap, reader->images[0]);
    EXPECT_EQ(rad->record.diffuseMap, nullptr);
    render::GL_Image* shown = reader->images[0];
    ASSERT_TRUE(engine.disconnect("Pbr", 3));
    ASSERT_TRUE(engine.disconnect("Rad", 1));
    pbr->process();
    rad->process();
    EXPECT_EQ(pbr->record.metalnessMap, nullptr);
    EXPECT_EQ(rad->record.illuminationMap, shown);
}

class AutoMaterial : public MaterialNodes {
protected:
    void SetUp() override {
        MaterialNodes::SetUp();
        // The resource directory as a project header written on Windows names it.
        engine.resourceDirectory = folder.folder().path() + "\\rsrc\\";
        input = create<TestGeometry>("Model", "Test Geometry");
        node = create<GeometryNode_AutoPBRMaterial>("Auto", "PBR_AutoMaterial");
        connect("Model", "Auto", 0);
    }
    const PbrMaterial* materialOf(std::size_t object) { return asPbr(node->objects.at(object).material); }
    TestGeometry* input = nullptr;
    GeometryNode_AutoPBRMaterial* node = nullptr;
};

TEST_F(AutoMaterial, LoadsAndLogsTheFiveMapsOfAnObjectNameOnce) {
    input->add("wheel", 10);
    input->add("wheel", 20);  // the same name shares the material
    writePicture("rsrc/assets/wheel_albedo.png", 4);
    writePicture("rsrc/assets/wheel_normal.png", 2);
    platform::DebugCapture log;
    evaluateAt(*node);
    const std::string path = "Loading Auto PBR from: " + folder.folder().path() + "\\rsrc\\\\assets\\wheel_";
    // In this order, each once, and nothing else loaded.
    const std::string expected = path + "albedo.png -> OK!\n\n" + path + "roughness.png -> FAILED!\n\n" + path +
                                 "metalness.png -> FAILED!\n\n" + path + "emissive.png -> FAILED!\n\n" + path +
                                 "normal.png -> OK!\n\n";
    std::string loads;
    for (std::size_t at = log.text().find("Loading"); at != std::string::npos; at = log.text().find("Loading", at + 1))
        loads += log.text().substr(at, log.text().find("\n\n", at) + 2 - at);
    EXPECT_EQ(loads, expected);

    const PbrMaterial* wheel = materialOf(0);
    ASSERT_NE(wheel, nullptr);
    EXPECT_EQ(materialOf(1), wheel);
    ASSERT_TRUE(wheel->albedoMap && wheel->normalMap);
    EXPECT_EQ((std::array<int, 2>{wheel->albedoMap->width, wheel->normalMap->width}), (std::array<int, 2>{4, 2}));
    EXPECT_FALSE(wheel->roughnessMap || wheel->metalnessMap || wheel->lightMap);
    log.clear();
    evaluateAt(*node);
    EXPECT_EQ(log.text().find("Loading"), std::string::npos);
    EXPECT_EQ(materialOf(0), wheel);
}

TEST_F(AutoMaterial, CopiesBakeThePlacementCarriedMaterialsYieldAndOverridesSetTheNamedMaterial) {
    auto* carried = create<TestMaterial>("Carried", "Test Material");
    auto* inputMaterial = create<TestMaterial>("Node", "Test Material");
    auto* settings = create<TestMaterial>("Settings", "Test Material");
    input->modelMatrix = render::translationMatrix(1, 2, 3);
    input->material = &inputMaterial->record;
    input->add("wheel", 10).matrix = render::scaleMatrix(2, 2, 2);
    input->add("carrier", 20).material = &carried->record;
    PbrMaterial& s = settings->record;
    s.albedoColor = {0.5f, 0.25f, 0.125f, 1};
    s.illumination = 3;
    s.inDynRef = false;
    s.roughness = 0.25f;  // not an overridden setting
    connect("Settings", "Auto", 3);
    node->objectNames[2] = "wheel";
    connect("Settings", "Auto", 1);
    node->objectNames[0] = "ghost";  // no object has it: nothing is loaded for it
    platform::DebugCapture log;
    evaluateAt(*node);

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

    engine.deleteNode("Model");
    evaluateAt(*node);
    EXPECT_TRUE(node->objects.empty());
    EXPECT_EQ(node->material, nullptr);
}

}  // namespace
}  // namespace vorn::test
