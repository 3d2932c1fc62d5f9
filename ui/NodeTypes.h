// The node classes the player knows, attached to the engine's table of
// built-in type names, and the hooks that make shader descriptions types.
// Call before the engine's initialise (which lists the scripts), after
// nodes::registerEffectLibrary.
#pragma once

#include "engine/NodeFactory.h"

namespace vorn::ui {

void attachNodeClasses(engine::NodeFactory& factory);

}  // namespace vorn::ui
