// The registry: creating nodes by type name, naming, wiring and deleting them.
#include <algorithm>
#include <unordered_set>

#include "engine/Engine.h"
#include "platform/Debug.h"
#include "platform/Paths.h"

namespace vorn::engine {

void Engine::loadScripts() {
    scripts.clear();
    nodeTypeNames.clear();
    if (factory.loadScript) {
        if (auto entries = platform::listDirectory("Scripts")) {
            for (const platform::DirectoryEntry& entry : *entries) {
                if (entry.isDirectory || entry.name.find(".node") == std::string::npos) continue;
                // A description that fails to load is skipped: its type does not exist.
                if (auto definition = factory.loadScript(".\\Scripts\\" + entry.name)) {
                    nodeTypeNames.push_back(definition->typeName());
                    scripts.push_back(std::move(definition));
                }
            }
        }
    }
    for (const BuiltinNodeType& type : builtinNodeTypes())
        if (type.offered) nodeTypeNames.push_back(type.typeName);
}

Node* Engine::findNode(const std::string& nodeName) const {
    auto found = nodesByName.find(nodeName);
    return found == nodesByName.end() ? nullptr : found->second;
}

bool Engine::createNode(const std::string& nodeName, const std::string& typeName) {
    if (findNode(nodeName)) return false;

    std::unique_ptr<Node> node;
    bool typeFound = factory.has(typeName);
    if (typeFound) {
        node = factory.create(*this, typeName, nodeName);
    } else if (!isBuiltinTypeName(typeName)) {  // a built-in name never means a script
        for (const auto& script : scripts) {
            if (script->typeName() != typeName) continue;
            typeFound = true;
            platform::debugLine("Load Script from File: " + platform::shortenMiddle(typeName));
            if (factory.createScriptNode) node = factory.createScriptNode(*this, nodeName, *script);
            break;
        }
    }
    // Recorded even without a node, so that a saved project keeps naming the type.
    nodeTypes[nodeName] = typeName;
    if (!node) {
        // Said once, here: otherwise a project naming a type whose description
        // file is missing or damaged just shows a black picture.
        platform::debugLine("cannot create node \"" + platform::shortenMiddle(nodeName) + "\" of type \"" +
                            platform::shortenMiddle(typeName) + "\": " +
                            (typeFound ? "the type failed to build it" : "no such type"));
        return false;
    }
    return addNode(nodeName, std::move(node));
}

bool Engine::addNode(const std::string& nodeName, std::unique_ptr<Node> node) {
    if (!node || findNode(nodeName)) return false;
    Node* added = node.get();
    nodesByName[nodeName] = added;
    nodeSet.emplace(added, std::move(node));
    added->name = nodeName;
    if (added->kind() == NodeKind::Output)
        if (auto* output = dynamic_cast<OutputNode*>(added)) outputNodes.push_back(output);
    return true;
}

bool Engine::wouldCloseCycle(const Node* source, const Node* target) const {
    if (source == target) return true;
    // The connection closes a cycle when target already feeds source. Search up
    // from source through its inputs and down from target through its consumers
    // by turns, so the search ends as soon as the smaller side is exhausted.
    std::vector<const Node*> up{source}, down{target};
    std::unordered_set<const Node*> aboveSource{source}, belowTarget{target};
    while (!up.empty() && !down.empty()) {
        const Node* node = up.back();
        up.pop_back();
        for (const Node* input : node->inputs) {
            if (!input) continue;
            if (belowTarget.count(input)) return true;
            if (aboveSource.insert(input).second) up.push_back(input);
        }
        node = down.back();
        down.pop_back();
        for (const Node* consumer : node->outputs) {
            // outputs may list a consumer that this node does not feed; follow real edges only.
            if (std::find(consumer->inputs.begin(), consumer->inputs.end(), node) == consumer->inputs.end())
                continue;
            if (aboveSource.count(consumer)) return true;
            if (belowTarget.insert(consumer).second) down.push_back(consumer);
        }
    }
    return false;
}

bool Engine::connect(const std::string& sourceName, const std::string& targetName, int32_t inputIndex) {
    Node* source = findNode(sourceName);
    Node* target = findNode(targetName);
    if (!source || !target || inputIndex < 0 || inputIndex >= target->inputCount) return false;
    if (!target->acceptsInput(inputIndex, *source)) return false;
    if (wouldCloseCycle(source, target)) {
        platform::debugLine("cannot connect \"" + sourceName + "\" to input " + std::to_string(inputIndex) +
                            " of \"" + targetName + "\": it would close a cycle");
        return false;
    }
    Node*& input = target->inputs[std::size_t(inputIndex)];
    if (!input) {
        input = source;
    } else if (input != source) {
        extraOutputListings_[target].push_back(source);  // occupied: listed, but not fed
    }
    source->outputs.push_back(target);
    return true;
}

bool Engine::disconnect(const std::string& targetName, int32_t inputIndex) {
    Node* target = findNode(targetName);
    if (!target || inputIndex < 0 || inputIndex >= target->inputCount) return false;
    Node*& input = target->inputs[std::size_t(inputIndex)];
    if (!input) return false;
    // One connection goes: the source keeps listing the target for any other input it feeds.
    auto listed = std::find(input->outputs.begin(), input->outputs.end(), target);
    if (listed != input->outputs.end()) input->outputs.erase(listed);
    input = nullptr;
    return true;
}

void Engine::forgetOutputListings(const Node* node) {
    // Sources that list node without feeding it.
    auto listed = extraOutputListings_.find(node);
    if (listed != extraOutputListings_.end()) {
        for (Node* source : listed->second) source->removeOutput(node);
        extraOutputListings_.erase(listed);
    }
    // node's own listings vanish with it.
    for (const Node* consumer : node->outputs) {
        auto sources = extraOutputListings_.find(consumer);
        if (sources == extraOutputListings_.end()) continue;
        std::erase(sources->second, node);
        if (sources->second.empty()) extraOutputListings_.erase(sources);
    }
}

bool Engine::deleteNode(const std::string& nodeName) {
    Node* node = findNode(nodeName);
    if (!node) return false;

    forgetOutputListings(node);
    for (Node* consumer : node->outputs)
        for (Node*& input : consumer->inputs)
            if (input == node) input = nullptr;
    for (Node*& input : node->inputs) {
        if (!input) continue;
        input->removeOutput(node);
        input = nullptr;
    }
    nodesByName.erase(nodeName);
    auto output = std::find(outputNodes.begin(), outputNodes.end(), node);
    if (output != outputNodes.end()) outputNodes.erase(output);

    // Sync bindings into the node: its float parameters, and whatever it bound itself.
    std::unordered_set<const float*> parameterFloats;
    for (const auto& record : parametersOf(*node))
        if (record->type() == ValueType::Float) parameterFloats.insert(static_cast<const ValueFloat&>(*record).target);
    std::erase_if(syncBindings, [&](const SyncBinding& binding) {
        return binding.node == node || parameterFloats.count(binding.target);
    });
    std::erase_if(syncLinks, [&](const SyncLink& link) { return link.node == node; });

    parametersByNode.erase(node);
    auto type = nodeTypes.find(nodeName);
    if (type != nodeTypes.end()) {
        typeCounters.erase(type->second);
        nodeTypes.erase(type);
    }
    tracksByNode.erase(nodeName);
    nodeSet.erase(node);  // destroys it
    return true;
}

void Engine::clearScene() {
    std::vector<std::string> names;
    names.reserve(nodeSet.size());
    for (const auto& [pointer, node] : nodeSet) names.push_back(node->name);
    for (const std::string& name : names) deleteNode(name);
    nodesByName.clear();
    typeCounters.clear();
    nodeSet.clear();
    outputNodes.clear();
    tracksByNode.clear();
    // Types recorded for nodes that could not be created belong to the old scene
    // too, and nothing may keep pointing at a node that is gone (one renamed
    // behind the registry's back would escape deleteNode by name).
    nodeTypes.clear();
    parametersByNode.clear();
    syncBindings.clear();
    syncLinks.clear();
    extraOutputListings_.clear();
    time = 0.0f;
    clockDrift = 0.0f;
}

}  // namespace vorn::engine
