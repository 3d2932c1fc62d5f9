// Attaches the node classes of this folder to the engine's table of types.
#pragma once

namespace vorn::engine {
class NodeFactory;
}

namespace vorn::nodes {

void attachDeferredNodeTypes(engine::NodeFactory& factory);

}  // namespace vorn::nodes
