// The node classes the player knows, attached to the engine's table of
// built-in type names. Call before the engine loads a project.
#pragma once

#include "engine/NodeFactory.h"

namespace vorn::ui {

void attachNodeClasses(engine::NodeFactory& factory);

}  // namespace vorn::ui
