// "PBR_Material": a physically based material whose five maps are the
// pictures of the image nodes on its inputs "Albedo", "Normal", "Rough",
// "Metal" and "Light"; an input left empty leaves its map null. The node
// renders nothing: its processing refreshes the map pointers of its record.
#pragma once

#include "nodes/scene/Material.h"

namespace vorn::nodes {

class PBR_MaterialNode : public MaterialNode {
public:
    PBR_MaterialNode(engine::Engine& owner, std::string name);

    // Image nodes, on inputs 0 to 4.
    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;
    const Material* getMaterial() const override { return &record; }

    PbrMaterial record;
};

// The parameters "Albedo" ... "Far Clip" of both PBR material nodes, on record.
void addPbrParameters(engine::Engine& owner, engine::Node& node, PbrMaterial& record);

}  // namespace vorn::nodes
