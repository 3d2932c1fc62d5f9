#include "nodes/scene/SceneNodeTypes.h"

#include "engine/NodeFactory.h"

namespace vorn::nodes {

void attachSceneNodeTypes(engine::NodeFactory& factory) {}

}  // namespace vorn::nodes
