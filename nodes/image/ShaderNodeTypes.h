// The shader-based node types: "ShaderToy", and every description file in
// "Scripts\" as a type of its own. Attach to the engine's factory before its
// initialise lists the scripts; the effect library (registerEffectLibrary)
// must be registered before that too, so "SourceLib" names resolve.
#pragma once

#include "engine/NodeFactory.h"
#include "engine/ScriptDefinition.h"
#include "nodes/image/ShaderDescription.h"

namespace vorn::nodes {

// A parsed description as the engine keeps it.
class ShaderScript : public engine::ScriptDefinition {
public:
    const std::string& typeName() const override { return description.name; }

    ShaderDescription description;
};

// Sets the factory's script loader and script-node constructor and attaches "ShaderToy".
void attachShaderNodeTypes(engine::NodeFactory& factory);

}  // namespace vorn::nodes
