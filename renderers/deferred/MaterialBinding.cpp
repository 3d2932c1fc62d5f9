#include "renderers/deferred/MaterialBinding.h"

namespace vorn::nodes {

namespace {

void bindMap(int unit, const render::GL_Image* map) {
    if (!map || map->textures.empty()) return;
    glActiveTexture(GLenum(GL_TEXTURE0 + unit));
    glBindTexture(GL_TEXTURE_2D, map->textures[0]);
}

void setFloat(GLint location, float value) {
    if (location >= 0) glUniform1f(location, value);
}

void setColour(GLint location, const std::array<float, 4>& value) {
    if (location >= 0) glUniform4fv(location, 1, value.data());
}

}  // namespace

MaterialUniforms::MaterialUniforms(const render::ShaderProgram& program)
    : albedoIntensity(render::UniformLocation(program, "ch_i_albedo")),
      roughness(render::UniformLocation(program, "ch_i_roughness")),
      metalness(render::UniformLocation(program, "ch_i_metalness")),
      emission(render::UniformLocation(program, "ch_i_emission")),
      emissionIncident(render::UniformLocation(program, "ch_i_emissionIncident")),
      normalStrength(render::UniformLocation(program, "ch_i_normal")),
      nearClip(render::UniformLocation(program, "nearClip")),
      farClip(render::UniformLocation(program, "farClip")),
      albedoColor(render::UniformLocation(program, "ch_c_albedo")),
      emissionColor(render::UniformLocation(program, "ch_c_emission")),
      receiveReflection(render::UniformLocation(program, "receiveDynamicReflection")) {}

const PbrMaterial* effectiveMaterial(const MeshObject& object, const GeometryNode& node) {
    return asPbr(object.material ? object.material : node.material);
}

void MaterialBinder::bind(const PbrMaterial& material) {
    if (&material == bound_) return;
    bound_ = &material;
    const MaterialUniforms& u = uniforms_;
    bindMap(kAlbedoUnit, material.albedoMap);
    setFloat(u.albedoIntensity, material.albedoIntensity);
    setColour(u.albedoColor, material.albedoColor);
    if (part_ == Part::AlbedoOnly) return;

    bindMap(kNormalUnit, material.normalMap);
    bindMap(kLightUnit, material.lightMap);
    bindMap(kRoughnessUnit, material.roughnessMap);
    bindMap(kMetalnessUnit, material.metalnessMap);
    setFloat(u.roughness, material.roughness);
    setFloat(u.metalness, material.metalness);
    setFloat(u.emission, material.illumination);
    setFloat(u.emissionIncident, material.incidentEmission);
    setFloat(u.normalStrength, material.normalStrength);
    setFloat(u.nearClip, material.nearClip);
    setFloat(u.farClip, material.farClip);
    setColour(u.emissionColor, material.illumColor);
    // The flag follows the material: objects sharing one share it.
    setFloat(u.receiveReflection, material.receiveDynRef ? 1.0f : 0.0f);
}

}  // namespace vorn::nodes
