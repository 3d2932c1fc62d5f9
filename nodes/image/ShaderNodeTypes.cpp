#include "nodes/image/ShaderNodeTypes.h"

#include "engine/Engine.h"
#include "nodes/image/Shader.h"
#include "nodes/image/ShaderToy.h"

namespace vorn::nodes {

void attachShaderNodeTypes(engine::NodeFactory& factory) {
    factory.loadScript = [](const std::string& path) -> std::unique_ptr<engine::ScriptDefinition> {
        auto script = std::make_unique<ShaderScript>();
        if (!ParseShaderDescription(path, script->description)) return nullptr;
        return script;
    };
    factory.createScriptNode = [](engine::Engine& engine, const std::string& nodeName,
                                  const engine::ScriptDefinition& definition) -> std::unique_ptr<engine::Node> {
        const auto* script = dynamic_cast<const ShaderScript*>(&definition);
        if (!script) return nullptr;
        return std::make_unique<ImageNode_Shader>(engine, nodeName, script->description);
    };
    factory.add("ShaderToy", engine::constructs<ImageNode_ShaderToy>());
}

}  // namespace vorn::nodes
