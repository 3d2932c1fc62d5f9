#include "nodes/procedural/ProceduralNodeTypes.h"

#include "engine/NodeFactory.h"

namespace vorn::nodes {

void attachProceduralNodeTypes(engine::NodeFactory& factory) {}

}  // namespace vorn::nodes
