// "Material": the older reflection material, with a diffuse and an
// illumination picture from the image nodes on its inputs "Diffuse" and
// "Illumination". No renderer of the system draws with it (the deferred
// renderer skips RAD records); it is kept so that productions that use it
// load and save unchanged.
#pragma once

#include "nodes/scene/Material.h"

namespace vorn::nodes {

class RAD_MaterialNode : public MaterialNode {
public:
    RAD_MaterialNode(engine::Engine& owner, std::string name);

    // Image nodes, on inputs 0 and 1.
    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    // A connected input sets its map; an empty one keeps the last picture it
    // gave (nothing reads it, so a picture of a deleted node is never used).
    bool process() override;
    const Material* getMaterial() const override { return &record; }

    RadMaterial record;
};

}  // namespace vorn::nodes
