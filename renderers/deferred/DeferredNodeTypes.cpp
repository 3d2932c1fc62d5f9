#include "renderers/deferred/DeferredNodeTypes.h"

#include "engine/NodeFactory.h"
#include "renderers/deferred/PowerIlo.h"

namespace vorn::nodes {

void attachDeferredNodeTypes(engine::NodeFactory& factory) {
    factory.add("Render_PowerIlo", engine::constructs<ImageNode_PowerIlo>());
}

}  // namespace vorn::nodes
