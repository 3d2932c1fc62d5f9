// The base of every node whose result is renderable triangle meshes (kind 2):
// a list of GPU objects, an optional material and a placement matrix, which
// renderers read from their geometry inputs after evaluating them each frame.
// Objects are built on the GL thread in process() when a subclass decides its
// source changed; between reloads only modelMatrix and material change.
#pragma once

#include "engine/Node.h"
#include "nodes/scene/Mesh.h"

#include <vector>

namespace vorn::nodes {

class GeometryNode : public engine::Node {
public:
    using engine::Node::Node;
    // Releases the objects' GL names unless they belong to another node.
    ~GeometryNode() override;

    engine::NodeKind kind() const override { return engine::NodeKind::Geometry; }

    // Releases the current objects (unless shared) and empties the list: a reload.
    void releaseObjects();

    std::vector<MeshObject> objects;
    const Material* material = nullptr;  // of the node on the material input, if any
    render::Mat4 modelMatrix = render::identityMatrix();
    bool sharesObjects = false;  // objects' GL names are owned by another node
};

// Translate, rotate (degrees, about Z then Y then X) and uniformly scale:
// T(t)·Rx(r.x)·Ry(r.y)·Rz(r.z)·S(k), so a point is scaled first.
render::Mat4 composePlacement(const render::Vec3& translate, const render::Vec3& rotateDegrees, float scale);

// Degrees to radians with the factor every 3D node uses.
constexpr float kDegreesToRadians = 0.017453292f;

// Input `index` of node when it is a geometry node, else null.
GeometryNode* geometryInput(const engine::Node& node, int index);

}  // namespace vorn::nodes
