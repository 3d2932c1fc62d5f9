#include "nodes/scene/PbrMaterial.h"

#include "engine/Engine.h"
#include "nodes/image/ImageNode.h"

namespace vorn::nodes {

void addPbrParameters(engine::Engine& owner, engine::Node& node, PbrMaterial& m) {
    owner.addFloat(node, "Albedo", &m.albedoIntensity, 0.0f, 15.0f, 2, 1.0f, true);
    owner.addFloat(node, "Illumination", &m.illumination, 0.0f, 15.0f, 2, 1.0f, true);
    owner.addFloat(node, "Roughness", &m.roughness, 0.0f, 3.0f, 2, 1.0f, true);
    owner.addFloat(node, "Metalness", &m.metalness, 0.0f, 3.0f, 2, 1.0f, true);
    owner.addFloat(node, "Normals", &m.normalStrength, -6.0f, 6.0f, 2, 1.0f, true);
    owner.addVec4(node, "Albedo Color", m.albedoColor.data(), {1, 1, 1, 1});
    owner.addVec4(node, "Illum Color", m.illumColor.data(), {1, 1, 1, 1});
    owner.addFloat(node, "Incident Emission", &m.incidentEmission, 0.0f, 3.0f, 2, 1.0f, true);
    owner.addBool(node, "Receive DynRef", &m.receiveDynRef, true);
    owner.addBool(node, "In DynRef", &m.inDynRef, true);
    owner.addFloat(node, "Near Clip", &m.nearClip, 0.0f, 1000.0f, 2, 0.0f, true);
    owner.addFloat(node, "Far Clip", &m.farClip, 0.0f, 10000.0f, 2, 10000.0f, true);
}

PBR_MaterialNode::PBR_MaterialNode(engine::Engine& owner, std::string name) : MaterialNode(owner, std::move(name)) {
    setInputCount(5);
    inputNames = {"Albedo", "Normal", "Rough", "Metal", "Light"};
    addPbrParameters(owner, *this, record);
}

bool PBR_MaterialNode::acceptsInput(int32_t index, const engine::Node& source) const {
    return index >= 0 && index <= 4 && source.kind() == engine::NodeKind::Image;
}

bool PBR_MaterialNode::process() {
    render::GL_Image** maps[] = {&record.albedoMap, &record.normalMap, &record.roughnessMap, &record.metalnessMap,
                                 &record.lightMap};
    for (int i = 0; i < 5; ++i) {
        ImageNode* input = imageInput(*this, i);
        *maps[i] = input ? input->images[0] : nullptr;
    }
    return true;
}

}  // namespace vorn::nodes
