#include "nodes/scene/TransformFromCamera.h"

#include "engine/Engine.h"
#include "nodes/scene/CameraNode.h"

namespace vorn::nodes {

Transform3DNode_FromCamera::Transform3DNode_FromCamera(engine::Engine& owner, std::string name)
    : GeometryNode(owner, std::move(name)) {
    setInputCount(2);
    inputNames = {"Geometry", "Camera"};
    owner.addFloat3(*this, "Scale", scale, 0.0f, 5.0f, 5, {1.0f, 1.0f, 1.0f});
    sharesObjects = true;
}

bool Transform3DNode_FromCamera::acceptsInput(int32_t index, const engine::Node& source) const {
    if (index == 0) return source.kind() == engine::NodeKind::Geometry;
    if (index == 1) return source.kind() == engine::NodeKind::Camera;
    return false;
}

bool Transform3DNode_FromCamera::process() {
    const GeometryNode* geometry = geometryInput(*this, 0);
    const CameraNode* camera = cameraInput(*this, 1);
    if (!geometry) {
        // Nothing copied is kept: the input may since have been deleted or
        // have replaced (and released) its objects.
        objects.clear();
        material = nullptr;
        modelMatrix = render::identityMatrix();
        return true;
    }
    objects = geometry->objects;
    material = geometry->material;
    modelMatrix = camera ? render::matrixProduct(camera->viewMatrix, geometry->modelMatrix) : geometry->modelMatrix;
    return true;
}

}  // namespace vorn::nodes
