// Material records and the base of material nodes (kind 3). A geometry node
// keeps a pointer to the record of the material node on its input; renderers
// read it while drawing. The record lives inside its node. Image pointers are
// borrowed (from the input image nodes or the engine's texture cache).
//
// Records carry their kind so that a renderer of PBR records can tell a RAD
// record apart and skip it.
#pragma once

#include "engine/Node.h"
#include "render/GL_Image.h"

#include <array>
#include <cstdint>

namespace vorn::nodes {

struct Material {
    enum class Kind { Pbr, Rad };
    explicit Material(Kind k) : kind(k) {}
    const Kind kind;
};

struct PbrMaterial : Material {
    PbrMaterial() : Material(Kind::Pbr) {}
    render::GL_Image* roughnessMap = nullptr;  // red channel
    render::GL_Image* metalnessMap = nullptr;  // red channel
    render::GL_Image* normalMap = nullptr;     // tangent space
    render::GL_Image* albedoMap = nullptr;
    render::GL_Image* lightMap = nullptr;  // emission
    float roughness = 1.0f;
    float metalness = 1.0f;
    float albedoIntensity = 1.0f;
    float illumination = 1.0f;
    float normalStrength = 1.0f;
    float incidentEmission = 1.0f;
    std::array<float, 4> albedoColor{1, 1, 1, 1};
    std::array<float, 4> illumColor{1, 1, 1, 1};
    float nearClip = 0.0f;
    float farClip = 10000.0f;
    bool receiveDynRef = true;
    bool inDynRef = true;
};

struct RadMaterial : Material {
    RadMaterial() : Material(Kind::Rad) {}
    render::GL_Image* diffuseMap = nullptr;
    render::GL_Image* illuminationMap = nullptr;
    float diffuse = 1.0f;
    float illumination = 0.0f;
    std::array<float, 4> illumColor{1, 1, 1, 1};
    float reflection = 0.0f;
    float refFresnel = 1.0f;
    int32_t blend = 0;  // 0 Normal, 1 Add
};

// The record as a PBR material, or null (absent, or a RAD record).
inline const PbrMaterial* asPbr(const Material* material) {
    return material && material->kind == Material::Kind::Pbr ? static_cast<const PbrMaterial*>(material) : nullptr;
}

class MaterialNode : public engine::Node {
public:
    using engine::Node::Node;
    engine::NodeKind kind() const override { return engine::NodeKind::Material; }
    // The node's record, valid for the node's lifetime.
    virtual const Material* getMaterial() const = 0;
};

// The record of the material node on input `index`, or null.
const Material* materialInput(const engine::Node& node, int index);

}  // namespace vorn::nodes
