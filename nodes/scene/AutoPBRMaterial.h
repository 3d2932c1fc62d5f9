// "PBR_AutoMaterial": gives every object of the input geometry its own PBR
// material, found by the object's name N: the five maps N_albedo,
// N_roughness, N_metalness, N_emissive and N_normal (PNG files in the assets
// folder under the engine's resource directory) are loaded once per name and
// kept, with their material, for the node's lifetime. An object that already
// carries a material gets the input node's material instead.
//
// Up to ten material nodes ("1_Mat" ... "10_Mat") override the colour,
// intensity, normal-strength and reflection settings of the material of the
// object named by the matching "k_Mat Object Name:" parameter; maps,
// roughness, metalness and clip distances stay as loaded.
//
// The object list is rebuilt from the input every frame (records copied, the
// input's placement baked into each); the GL objects stay the input's.
#pragma once

#include "nodes/scene/GeometryNode.h"
#include "nodes/scene/Material.h"
#include "render/GL_MemTexture.h"

#include <array>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace vorn::nodes {

class GeometryNode_AutoPBRMaterial : public GeometryNode {
public:
    static constexpr int kOverrides = 10;

    GeometryNode_AutoPBRMaterial(engine::Engine& owner, std::string name);
    ~GeometryNode_AutoPBRMaterial() override;

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // The path of channel ("albedo", "roughness", ...) of the maps of objectName.
    std::string mapPath(const std::string& objectName, const char* channel) const;

    // Parameters, in registration order.
    std::array<std::string, kOverrides> objectNames;

    // Materials by object name; null for names only looked up by an override.
    std::unordered_map<std::string, std::unique_ptr<PbrMaterial>> materialCache;

private:
    PbrMaterial* cachedMaterial(const std::string& objectName);
    render::GL_Image* loadMap(const std::string& objectName, const char* channel);

    std::vector<std::unique_ptr<render::GL_MemTexture>> maps_;  // every map loaded, owned
};

}  // namespace vorn::nodes
