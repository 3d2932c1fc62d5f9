#include "nodes/procedural/ParticleMesher.h"

#include "engine/Engine.h"
#include "nodes/procedural/BlobSurface.h"
#include "nodes/scene/Material.h"

#include <array>

namespace vorn::nodes {

GeometryNode_ParticleMesher::GeometryNode_ParticleMesher(engine::Engine& owner, std::string name)
    : GeometryNode(owner, std::move(name)) {
    setInputCount(1);
    inputNames[0] = "Material";
    owner.addString(*this, "Filename", &filename, "");
    owner.addFloat3(*this, "Translate", translate, -20.0f, 20.0f, 2, {0, 0, 0});
    owner.addFloat3(*this, "Rotate", rotate, 0.0f, 360.0f, 2, {0, 0, 0});
    owner.addFloat(*this, "Scale", &scale, 0.0f, 10.0f, 2, 1.0f, true);
}

bool GeometryNode_ParticleMesher::acceptsInput(int32_t, const engine::Node& source) const {
    return source.kind() == engine::NodeKind::Material;
}

bool GeometryNode_ParticleMesher::process() {
    if (filename != loadedFilename_ || rebuildRequested) {
        rebuildRequested = false;
        buildBlob();
    }
    modelMatrix = composePlacement({translate[0], translate[1], translate[2]}, {rotate[0], rotate[1], rotate[2]},
                                   scale);
    material = materialInput(*this, 0);
    return true;
}

void GeometryNode_ParticleMesher::buildBlob() {
    loadedFilename_ = filename;
    modelMatrix = render::identityMatrix();
    releaseObjects();
    constexpr std::array<Particle, 2> kParticles = {{{0, 0, 0, 1}, {0, 0, 0, 1}}};
    objects.push_back(createMeshObject(meshBlob(kParticles)));
}

}  // namespace vorn::nodes
