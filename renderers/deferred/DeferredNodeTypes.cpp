#include "renderers/deferred/DeferredNodeTypes.h"

#include "engine/NodeFactory.h"

namespace vorn::nodes {

void attachDeferredNodeTypes(engine::NodeFactory& factory) {}

}  // namespace vorn::nodes
