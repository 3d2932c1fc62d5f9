// Script definitions: node types described by files in "Scripts\" rather than
// compiled in. The engine only lists them and hands them back to the library
// that understands them (the image nodes' shader descriptions); it knows each
// by its type name alone.
#pragma once

#include <functional>
#include <memory>
#include <string>

namespace vorn::engine {

class Engine;
class Node;

class ScriptDefinition {
public:
    virtual ~ScriptDefinition() = default;
    // The node type name the file declares.
    virtual const std::string& typeName() const = 0;
};

// Parses one description file (".\Scripts\<entry>"); null when it cannot be loaded.
using ScriptLoader = std::function<std::unique_ptr<ScriptDefinition>(const std::string& path)>;

// Builds the node of a script type from its definition.
using ScriptNodeConstructor =
    std::function<std::unique_ptr<Node>(Engine&, const std::string& nodeName, const ScriptDefinition&)>;

}  // namespace vorn::engine
