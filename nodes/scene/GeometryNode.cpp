#include "nodes/scene/GeometryNode.h"

namespace vorn::nodes {

GeometryNode::~GeometryNode() { releaseObjects(); }

void GeometryNode::releaseObjects() {
    if (!sharesObjects)
        for (MeshObject& object : objects) releaseMeshObject(object);
    objects.clear();
}

render::Mat4 composePlacement(const render::Vec3& t, const render::Vec3& r, float k) {
    using namespace render;
    Mat4 m = matrixProduct(translationMatrix(t[0], t[1], t[2]), rotationX(r[0] * kDegreesToRadians));
    m = matrixProduct(m, rotationY(r[1] * kDegreesToRadians));
    m = matrixProduct(m, rotationZ(r[2] * kDegreesToRadians));
    return matrixProduct(m, scaleMatrix(k, k, k));
}

GeometryNode* geometryInput(const engine::Node& node, int index) {
    engine::Node* input = node.getInput(index);
    if (!input || input->kind() != engine::NodeKind::Geometry) return nullptr;
    return dynamic_cast<GeometryNode*>(input);
}

}  // namespace vorn::nodes
