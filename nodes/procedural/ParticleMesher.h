// "Particle Mesher": a closed smooth surface "Blob" around a set of weighted
// particles (see BlobSurface.h). The set is fixed: two particles of weight 1
// at the origin, a sphere of radius √2. "Filename" names no file; a change of
// its text is what rebuilds the surface, so a node whose text never leaves
// the empty default holds no object at all.
//
// A rebuild releases the previous blob's GL objects. Placement and material
// are refreshed every frame; the material goes to the node, not the object.
#pragma once

#include "nodes/scene/GeometryNode.h"

#include <string>

namespace vorn::nodes {

class GeometryNode_ParticleMesher : public GeometryNode {
public:
    GeometryNode_ParticleMesher(engine::Engine& owner, std::string name);

    bool acceptsInput(int32_t index, const engine::Node& source) const override;
    bool process() override;

    // Parameters, in registration order.
    std::string filename;
    float translate[3] = {0, 0, 0};
    float rotate[3] = {0, 0, 0};  // degrees
    float scale = 1.0f;

    bool rebuildRequested = false;  // forces a rebuild at the next process

private:
    void buildBlob();

    std::string loadedFilename_;
};

}  // namespace vorn::nodes
