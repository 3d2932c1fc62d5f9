#include "nodes/scene/RadMaterial.h"

#include "engine/Engine.h"
#include "nodes/image/ImageNode.h"

namespace vorn::nodes {

RAD_MaterialNode::RAD_MaterialNode(engine::Engine& owner, std::string name) : MaterialNode(owner, std::move(name)) {
    setInputCount(2);
    inputNames = {"Diffuse", "Illumination"};
    owner.addFloat(*this, "Diffuse", &record.diffuse, 0.0f, 5.0f, 2, 1.0f, true);
    owner.addFloat(*this, "Illumination", &record.illumination, 0.0f, 5.0f, 2, 0.0f, true);
    owner.addVec4(*this, "Illum Color", record.illumColor.data(), {1, 1, 1, 1});
    owner.addFloat(*this, "Reflection", &record.reflection, 0.0f, 5.0f, 2, 0.0f, true);
    owner.addFloat(*this, "Ref. Fresnel", &record.refFresnel, 0.1f, 15.0f, 2, 1.0f, true);
    owner.addInt(*this, "Blend", &record.blend, 0, {"Normal", "Add"});
}

bool RAD_MaterialNode::acceptsInput(int32_t index, const engine::Node& source) const {
    return (index == 0 || index == 1) && source.kind() == engine::NodeKind::Image;
}

bool RAD_MaterialNode::process() {
    if (ImageNode* diffuse = imageInput(*this, 0)) record.diffuseMap = diffuse->images[0];
    if (ImageNode* illumination = imageInput(*this, 1)) record.illuminationMap = illumination->images[0];
    return true;
}

}  // namespace vorn::nodes
