// The material nodes and "PBR_AutoMaterial": shared textures, inputs, automatic maps and overrides.
#include "nodes/image/Reader.h"
#include "nodes/scene/AutoPBRMaterial.h"
#include "nodes/scene/PbrFixMaterial.h"
#include "nodes/scene/PbrMaterial.h"
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

TEST_F(MaterialNodes, FixMaterialsOfAnEngineShareOneTexturePerFileAndPbrMapsFollowTheirInputs) {
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
    EXPECT_EQ(first->record.normalMap, first->record.albedoMap);
    ASSERT_NE(second->record.normalMap, first->record.normalMap);
    EXPECT_EQ(second->record.normalMap->width, 4);
    EXPECT_FALSE(first->hasError);

    // A file that does not decode gets an empty texture, shown as an error.
    first->mapFiles[4] = "missing.png";
    first->process();
    ASSERT_NE(first->record.lightMap, nullptr);
    EXPECT_EQ(first->record.lightMap->width, 0);
    EXPECT_TRUE(first->hasError);

    // A PBR material's maps follow its inputs.
    engine.factory.add("2D_ImgReader", engine::constructs<ImageNode_Reader>());
    auto* reader = create<ImageNode_Reader>("Picture", "2D_ImgReader");
    reader->filename = "a.png";
    auto* pbr = create<PBR_MaterialNode>("Pbr", "PBR_Material");
    connect("Picture", "Pbr", 3);
    evaluateAt(*pbr);
    ASSERT_NE(reader->images[0], nullptr);
    EXPECT_EQ(pbr->record.metalnessMap, reader->images[0]);
    ASSERT_TRUE(engine.disconnect("Pbr", 3));
    evaluateAt(*pbr);
    EXPECT_EQ(pbr->record.metalnessMap, nullptr);
}

TEST_F(MaterialNodes, AutoMaterialsLoadAndLogFiveMapsPerObjectNameOnceAndOverridesSetTheNamedOne) {
    engine.resourceDirectory = folder.folder().path() + "\\rsrc\\";  // as a project written on Windows names it
    auto* input = create<TestGeometry>("Model", "Test Geometry");
    auto* node = create<GeometryNode_AutoPBRMaterial>("Auto", "PBR_AutoMaterial");
    auto* inputMaterial = create<PBR_MaterialNode>("Node", "PBR_Material");
    auto* settings = create<PBR_MaterialNode>("Settings", "PBR_Material");
    connect("Model", "Auto", 0);
    input->modelMatrix = render::translationMatrix(1, 2, 3);
    input->material = &inputMaterial->record;
    input->add("wheel", 10).matrix = render::scaleMatrix(2, 2, 2);
    input->add("wheel", 20);  // the same name shares the material
    input->add("carrier", 30).material = &settings->record;  // a carried material yields to the input's
    writePicture("rsrc/assets/wheel_albedo.png", 4);
    writePicture("rsrc/assets/wheel_normal.png", 2);
    platform::DebugCapture log;
    evaluateAt(*node);
    std::string expected;  // in this order, each once, and nothing else loaded
    const std::string path = "Loading Auto PBR from: " + folder.folder().path() + "\\rsrc\\\\assets\\wheel_";
    for (const char* map : {"albedo.png -> OK!", "roughness.png -> FAILED!", "metalness.png -> FAILED!",
                            "emissive.png -> FAILED!", "normal.png -> OK!"})
        expected += path + map + "\n\n";
    std::string loads;
    for (std::size_t at = log.text().find("Loading"); at != std::string::npos; at = log.text().find("Loading", at + 1))
        loads += log.text().substr(at, log.text().find("\n\n", at) + 2 - at);
    EXPECT_EQ(loads, expected);

    ASSERT_EQ(node->objects.size(), 3u);
    const PbrMaterial* wheel = asPbr(node->objects[0].material);
    ASSERT_TRUE(wheel && wheel->albedoMap && wheel->normalMap);
    EXPECT_EQ(node->objects[1].material, wheel);
    EXPECT_EQ((std::array<int, 2>{wheel->albedoMap->width, wheel->normalMap->width}), (std::array<int, 2>{4, 2}));
    EXPECT_EQ(node->objects[2].material, &inputMaterial->record);
    EXPECT_EQ(node->material, &inputMaterial->record);
    expectMaps(node->objects[0].matrix, {1, 0, 0}, {3, 2, 3});  // the input's placement baked in

    // An override copies colours and flags, not roughness, to the named material.
    PbrMaterial& s = settings->record;
    s.albedoColor = {0.5f, 0.25f, 0.125f, 1};
    s.illumination = 3;
    s.inDynRef = false;
    s.roughness = 0.25f;
    connect("Settings", "Auto", 3);
    node->objectNames[2] = "wheel";
    log.clear();
    evaluateAt(*node);
    EXPECT_EQ(log.text().find("Loading"), std::string::npos);
    EXPECT_EQ(node->objects[0].material, wheel);
    EXPECT_EQ(wheel->albedoColor, s.albedoColor);
    EXPECT_EQ(wheel->illumination, 3);
    EXPECT_FALSE(wheel->inDynRef);
    EXPECT_EQ(wheel->roughness, 1.0f);

    engine.deleteNode("Model");
    evaluateAt(*node);
    EXPECT_TRUE(node->objects.empty());
    EXPECT_EQ(node->material, nullptr);
}

}  // namespace
}  // namespace vorn::test
