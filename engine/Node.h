// The node base class and its graph walk. A node has a fixed number of
// numbered inputs, each fed by at most one other node, and produces one result
// of its kind. Once per frame the engine clears every node's evaluated flag and
// evaluates the output nodes, which pull their inputs depth first, so every node
// runs process and render at most once per frame.
//
// Nodes are owned by the engine; a node never owns its inputs or outputs. Wiring
// goes through the engine's connect and deleteNode, never through these lists
// directly, so that outputs stays consistent with inputs.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace vorn::engine {

class Engine;

// What a node produces (not what it derives from).
enum class NodeKind : int32_t {
    Output = 0,
    Image = 1,
    Geometry = 2,
    Material = 3,
    Transform = 4,
    Camera = 5,
};

class Node {
public:
    Node(Engine& owner, std::string name);
    virtual ~Node();
    Node(const Node&) = delete;
    Node& operator=(const Node&) = delete;

    // Virtual operations, in their fixed order.
    virtual NodeKind kind() const = 0;
    // The wiring rule; source is never null when the engine asks.
    virtual bool acceptsInput(int32_t index, const Node& source) const = 0;
    // Lets a node relabel its input sockets; nothing in the engine calls it.
    virtual bool nameInputs() { return false; }
    // The node's own work for this frame.
    virtual bool process() = 0;
    // Second step of the work; shader-based image nodes draw here.
    virtual bool render() { return true; }
    // Called for every node when a sync connection is made.
    virtual void bindSyncTracks() {}
    // Evaluates unvisited inputs depth first, then process and render.
    // Switching nodes override it to evaluate only a chosen input.
    virtual bool evaluate();

    // inputCount := n; every input empty; names "input0", "input1" ...
    void setInputCount(int32_t n);
    // Null for an index outside 0 .. inputCount-1.
    Node* getInput(int32_t index) const;
    // Removes every occurrence; true when at least one was there.
    bool removeOutput(const Node* node);

    Engine* owner;
    bool skipEvaluation = false;  // consumers do not evaluate an input that has it set
    int32_t inputCount = 0;
    std::string name;            // unique in the engine
    std::vector<Node*> outputs;  // consumers, one entry per connection, in connection order
    std::vector<Node*> inputs;   // inputCount entries, null when unconnected
    std::vector<std::string> inputNames;
    bool hasError = false;  // a resource the node needs has failed; the walk ignores it
    bool evaluated = false;
};

// Roots of the graph: only these enter the engine's output list.
class OutputNode : public Node {
public:
    using Node::Node;
    NodeKind kind() const override { return NodeKind::Output; }
    // Shows the result; the engine calls it after evaluate.
    virtual void present() = 0;
};

// A node whose result is a 4x4 transform (column-major, identity at start),
// written by subclasses and read by consumers after evaluating the node.
class Transform3DNode : public Node {
public:
    using Node::Node;
    NodeKind kind() const override { return NodeKind::Transform; }

    std::array<float, 16> matrix{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
};

}  // namespace vorn::engine
