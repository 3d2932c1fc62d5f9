#include "nodes/image/Reader.h"
#include "nodes/scene/PbrFixMaterial.h"
#include "nodes/scene/PbrMaterial.h"
#include "nodes/scene/RadMaterial.h"
#include "platform/ImageEncoder.h"
#include "tests/nodes/scene/SceneGlTest.h"

namespace vorn::test {
namespace {

using namespace nodes;

class MaterialNodes : public SceneGlTest {
protected:
    void writePicture(const std::string& path, int size) {
        std::vector<uint8_t> pixels(std::size_t(size * size * 3), 200);
        ASSERT_TRUE(platform::writePngFile(path, size, size, 3, pixels.data()));
    }
    ImageNode_Reader* picture(const std::string& name, const std::string& file) {
        auto* reader = create<ImageNode_Reader>(name, "2D_ImgReader");
        reader->filename = file;
        reader->process();
        EXPECT_NE(reader->images[0], nullptr);
        return reader;
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
    auto* pbr = create<PBR_MaterialNode>("Pbr", "PBR_Material");
    auto* rad = create<RAD_MaterialNode>("Rad", "Material");
    ImageNode_Reader* reader = picture("Picture", "p.png");
    pbr->process();
    const PbrMaterial& maps = pbr->record;
    for (render::GL_Image* map : {maps.albedoMap, maps.normalMap, maps.roughnessMap, maps.metalnessMap, maps.lightMap})
        EXPECT_EQ(map, nullptr);

    connect("Picture", "Pbr", 3);
    connect("Picture", "Rad", 1);
    pbr->process();
    rad->process();
    EXPECT_EQ(maps.metalnessMap, reader->images[0]);
    EXPECT_EQ(maps.roughnessMap, nullptr);
    EXPECT_EQ(rad->record.illuminationMap, reader->images[0]);
    EXPECT_EQ(rad->record.diffuseMap, nullptr);

    // The engine has no disconnect yet: empty the inputs as the editor would.
    render::GL_Image* shown = reader->images[0];
    pbr->inputs[3] = nullptr;
    rad->inputs[1] = nullptr;
    pbr->process();
    rad->process();
    EXPECT_EQ(maps.metalnessMap, nullptr);
    EXPECT_EQ(rad->record.illuminationMap, shown);
}

}  // namespace
}  // namespace vorn::test
