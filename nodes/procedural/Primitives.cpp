#include "nodes/procedural/Primitives.h"

#include "engine/Engine.h"
#include "nodes/scene/Material.h"

#include <cmath>

namespace vorn::nodes {

GeometryNode_Primitives::GeometryNode_Primitives(engine::Engine& owner, std::string name)
    : GeometryNode(owner, std::move(name)) {
    setInputCount(1);
    inputNames[0] = "Material";
    owner.addFloat3(*this, "Translate", translate, -20.0f, 20.0f, 2, {0, 0, 0});
    owner.addFloat3(*this, "Rotate", rotate, 0.0f, 360.0f, 2, {0, 0, 0});
    owner.addFloat(*this, "Scale X", &scaleX, 0.0f, 100.0f, 2, 1.0f, true);
    owner.addFloat(*this, "Scale Y", &scaleY, 0.0f, 100.0f, 2, 1.0f, true);
    owner.addVec2(*this, "UV Offset", uvOffset, {0, 0}, engine::Vec2Style::Position);
    owner.addVec2(*this, "UV Repeat", uvRepeat, {1, 1}, engine::Vec2Style::Position);
    buildPlane();
}

bool GeometryNode_Primitives::acceptsInput(int32_t, const engine::Node& source) const {
    return source.kind() == engine::NodeKind::Material;
}

bool GeometryNode_Primitives::process() {
    auto moved = [](float now, float built) { return std::fabs(now - built) >= 1e-6f; };
    if (moved(uvOffset[0], builtUvOffset_[0]) || moved(uvOffset[1], builtUvOffset_[1]) ||
        moved(uvRepeat[0], builtUvRepeat_[0]) || moved(uvRepeat[1], builtUvRepeat_[1]))
        buildPlane();

    // The plane's own override, not the node's material.
    objects[0].material = materialInput(*this, 0);

    using namespace render;
    Mat4 m = matrixProduct(translationMatrix(translate[0], translate[1], translate[2]),
                           rotationX(rotate[0] * kDegreesToRadians));
    m = matrixProduct(m, rotationY(rotate[1] * kDegreesToRadians));
    m = matrixProduct(m, rotationZ(rotate[2] * kDegreesToRadians));
    modelMatrix = matrixProduct(m, scaleMatrix(scaleX, scaleY, 1.0f));
    return true;
}

void GeometryNode_Primitives::buildPlane() {
    builtUvOffset_ = {uvOffset[0], uvOffset[1]};
    builtUvRepeat_ = {uvRepeat[0], uvRepeat[1]};
    releaseObjects();
    modelMatrix = render::identityMatrix();

    const float u0 = uvOffset[0], v0 = uvOffset[1];
    const float u1 = u0 + uvRepeat[0], v1 = v0 + uvRepeat[1];
    MeshData mesh;
    mesh.name = "Plane";
    mesh.vertices = {
        {{-1, 1, 0}, {0, 0, 1}, {u0, v0}},  {{1, 1, 0}, {0, 0, 1}, {u1, v0}},   {{1, -1, 0}, {0, 0, 1}, {u1, v1}},
        {{-1, 1, 0}, {0, 0, 1}, {u0, v0}},  {{1, -1, 0}, {0, 0, 1}, {u1, v1}},  {{-1, -1, 0}, {0, 0, 1}, {u0, v1}},
    };
    mesh.indices = {0, 1, 2, 3, 4, 5};
    objects.push_back(createMeshObject(mesh));
}

}  // namespace vorn::nodes
