// "PBR_FixMaterial": the physically based material of "PBR_Material" with its
// five maps read from image files named by parameters instead of taken from
// inputs. Each path is decoded once per engine: the textures live in a cache
// that all fix materials of the engine share and that is released with it,
// so several materials naming one file cost one texture, and changing a name
// back to an earlier one reuses its texture.
//
// A file that cannot be decoded still gets its (empty) texture in the cache,
// so it is not retried every frame; the node reports it with hasError.
#pragma once

#include "engine/Engine.h"
#include "nodes/scene/Material.h"
#include "render/GL_MemTexture.h"

#include <array>
#include <memory>
#include <string>
#include <unordered_map>

namespace vorn::nodes {

// The engine's textures of fix materials by full file path.
struct FixMaterialTextures : engine::EngineResource {
    std::unordered_map<std::string, std::unique_ptr<render::GL_MemTexture>> byPath;
    // The texture of path, decoded and uploaded on first use.
    render::GL_MemTexture& texture(const std::string& path);
};

class PBR_FixMaterialNode : public MaterialNode {
public:
    static constexpr int kMapCount = 5;  // albedo, normal, roughness, metalness, light

    PBR_FixMaterialNode(engine::Engine& owner, std::string name);

    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override;
    const Material* getMaterial() const override { return &record; }

    // "Albedo Map", "Normal Map", "Rough Map", "Metal Map", "Light Map".
    std::array<std::string, kMapCount> mapFiles;
    PbrMaterial record;

private:
    std::array<std::string, kMapCount> loadedFiles_;
    std::array<render::GL_MemTexture*, kMapCount> textures_{};
};

}  // namespace vorn::nodes
