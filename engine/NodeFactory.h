// Node types by name: the table of built-in types (NodeFactory.cpp, the map of
// the system), the constructors of the classes that exist so far, and the hooks
// through which script-described types are loaded and built.
//
// Classes live in libraries above the engine, so each library attaches its own:
//     factory.add("Glow", constructs<ImageNode_Glow>);
// A built-in type whose class has not been attached cannot be created, exactly
// like an unknown type name.
#pragma once

#include <functional>
#include <memory>
#include <span>
#include <string>
#include <unordered_map>
#include <vector>

#include "engine/ScriptDefinition.h"

namespace vorn::engine {

class Engine;
class Node;

using NodeConstructor = std::function<std::unique_ptr<Node>(Engine&, const std::string& nodeName)>;

// The constructor of a class built from (engine, node name).
template <class T>
NodeConstructor constructs() {
    return [](Engine& engine, const std::string& nodeName) -> std::unique_ptr<Node> {
        return std::make_unique<T>(engine, nodeName);
    };
}

struct BuiltinNodeType {
    const char* typeName;   // as shown to the user and stored in projects
    const char* className;  // the class that answers to it; null when none does
    bool offered;           // listed in the editor's menu of types to create
};

// Every built-in type, menu entries first in menu order.
std::span<const BuiltinNodeType> builtinNodeTypes();
bool isBuiltinTypeName(const std::string& typeName);

class NodeFactory {
public:
    // Attaches the class that answers to typeName (replacing an earlier one).
    // Refused for the built-in names that no class answers to.
    bool add(const std::string& typeName, NodeConstructor construct);
    bool has(const std::string& typeName) const { return constructors_.count(typeName) != 0; }
    // A new node of the attached class, or null when no class answers.
    std::unique_ptr<Node> create(Engine& engine, const std::string& typeName, const std::string& nodeName) const;

    // Script types: the description parser and the node built from a description.
    // Unset, no script types exist.
    ScriptLoader loadScript;
    ScriptNodeConstructor createScriptNode;

private:
    std::unordered_map<std::string, NodeConstructor> constructors_;
};

}  // namespace vorn::engine
