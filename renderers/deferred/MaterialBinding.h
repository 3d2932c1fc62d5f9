// How a PBR material reaches the surface programs of the deferred renderer:
// its five maps on texture units 0-4 and its factors as uniforms. A missing map
// leaves whatever texture its unit held, so objects drawn after a textured
// material show that material's map (an unconnected "PBR_Material" relies on
// it). Uniform locations are looked up once per program; a surface pass binds
// a material only when it differs from the one bound last.
#pragma once

#include "nodes/scene/GeometryNode.h"
#include "nodes/scene/Material.h"
#include "render/ShaderProgram.h"

#include <GL/glew.h>

namespace vorn::nodes {

// Texture units of the material maps.
inline constexpr int kAlbedoUnit = 0;
inline constexpr int kNormalUnit = 1;
inline constexpr int kLightUnit = 2;
inline constexpr int kRoughnessUnit = 3;
inline constexpr int kMetalnessUnit = 4;

// The material uniforms of one surface program (-1 where it lacks one).
struct MaterialUniforms {
    MaterialUniforms() = default;
    explicit MaterialUniforms(const render::ShaderProgram& program);

    GLint albedoIntensity = -1;     // ch_i_albedo
    GLint roughness = -1;           // ch_i_roughness
    GLint metalness = -1;           // ch_i_metalness
    GLint emission = -1;            // ch_i_emission
    GLint emissionIncident = -1;    // ch_i_emissionIncident
    GLint normalStrength = -1;      // ch_i_normal
    GLint nearClip = -1;
    GLint farClip = -1;
    GLint albedoColor = -1;         // ch_c_albedo
    GLint emissionColor = -1;       // ch_c_emission
    GLint receiveReflection = -1;   // receiveDynamicReflection
};

// The material an object is drawn with: its own, else its node's; null when
// that is absent or not a PBR record (the object is then not drawn).
const PbrMaterial* effectiveMaterial(const MeshObject& object, const GeometryNode& node);

// Binds materials for the program in use, skipping repeats of the last one.
class MaterialBinder {
public:
    enum class Part { All, AlbedoOnly };

    MaterialBinder(const MaterialUniforms& uniforms, Part part) : uniforms_(uniforms), part_(part) {}

    void bind(const PbrMaterial& material);
    // Forgets the last material (a new pass, another program).
    void reset() { bound_ = nullptr; }

private:
    const MaterialUniforms& uniforms_;
    Part part_;
    const PbrMaterial* bound_ = nullptr;
};

}  // namespace vorn::nodes
