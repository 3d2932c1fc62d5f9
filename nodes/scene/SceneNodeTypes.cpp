#include "nodes/scene/SceneNodeTypes.h"

#include "engine/NodeFactory.h"
#include "nodes/scene/AutoPBRMaterial.h"

namespace vorn::nodes {

void attachSceneNodeTypes(engine::NodeFactory& factory) {
    factory.add("PBR_AutoMaterial", engine::constructs<GeometryNode_AutoPBRMaterial>());
}

}  // namespace vorn::nodes
