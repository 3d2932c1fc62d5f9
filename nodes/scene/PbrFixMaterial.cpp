#include "nodes/scene/PbrFixMaterial.h"

#include "nodes/scene/PbrMaterial.h"
#include "render/ImageFile.h"

namespace vorn::nodes {

render::GL_MemTexture& FixMaterialTextures::texture(const std::string& path) {
    std::unique_ptr<render::GL_MemTexture>& cached = byPath[path];
    if (!cached) {
        render::LoadedImage image = render::LoadImageFile(path, false);
        const uint8_t* pixels = image.pixels.empty() ? nullptr : image.pixels.data();
        cached = std::make_unique<render::GL_MemTexture>(image.width, image.height,
                                                         image.channels == 3 ? GL_RGB : GL_RGBA, GL_REPEAT, GL_REPEAT,
                                                         pixels);
    }
    return *cached;
}

PBR_FixMaterialNode::PBR_FixMaterialNode(engine::Engine& owner, std::string name)
    : MaterialNode(owner, std::move(name)) {
    static constexpr const char* kLabels[kMapCount] = {"Albedo Map", "Normal Map", "Rough Map", "Metal Map",
                                                       "Light Map"};
    static constexpr const char* kDefaults[kMapCount] = {"white.jpg", "norm.jpg", "black.jpg", "black.jpg",
                                                         "black.jpg"};
    for (int i = 0; i < kMapCount; ++i)
        owner.addString(*this, kLabels[i], &mapFiles[i], owner.resourceDirectory + "\\misc\\" + kDefaults[i]);
    addPbrParameters(owner, *this, record);
}

bool PBR_FixMaterialNode::process() {
    render::GL_Image** maps[kMapCount] = {&record.albedoMap, &record.normalMap, &record.roughnessMap,
                                          &record.metalnessMap, &record.lightMap};
    FixMaterialTextures& cache = owner->resource<FixMaterialTextures>();
    hasError = false;
    for (int i = 0; i < kMapCount; ++i) {
        if (mapFiles[i] != loadedFiles_[i] || !textures_[i]) {
            loadedFiles_[i] = mapFiles[i];
            textures_[i] = &cache.texture(mapFiles[i]);
        }
        *maps[i] = textures_[i];
        hasError = hasError || textures_[i]->width == 0;
    }
    return true;
}

}  // namespace vorn::nodes
