// Node classes for engine tests and the project fuzzer: an image node with one
// parameter of every kind, a viewer (output) node and a geometry node, which
// log their calls so tests can see what the engine did.
#pragma once

#include <string>
#include <vector>

#include "engine/Engine.h"

namespace vorn::test {

using engine::Engine;
using engine::Node;
using engine::NodeKind;

// Every process call of every test node, in order, with the drawingEnabled flag seen.
struct CallLog {
    std::vector<std::string> processed;
    std::vector<int32_t> drawingEnabled;
    std::vector<std::string> presented;
};
inline CallLog& callLog() {
    static CallLog log;
    return log;
}

class TestImageNode : public Node {
public:
    TestImageNode(Engine& engine, const std::string& name) : Node(engine, name) {
        setInputCount(3);
        engine.addFloat(*this, "Amount", &amount, 0.0f, 10.0f, 2, 1.0f, true);
        engine.addVec2(*this, "Offset", offset, {0.25f, 0.5f}, engine::Vec2Style::Position);
        engine.addVec4(*this, "Color", color, {1.0f, 0.5f, 0.25f, 1.0f});
        engine.addString(*this, "File", &file, "none.png");
        engine.addInt(*this, "Mode", &mode, 1, {"a", "b", "c"});
        engine.addBool(*this, "Enabled", &enabled, true);
        engine.addFloat3(*this, "Translate", translate, -10.0f, 10.0f, 3, {0.0f, 0.0f, 0.0f});
        engine.addFloat3(*this, "Scale", scale, 0.0f, 5.0f, 5, {1.0f, 1.0f, 1.0f});
    }
    NodeKind kind() const override { return NodeKind::Image; }
    bool acceptsInput(int32_t, const Node& source) const override { return source.kind() == NodeKind::Image; }
    bool process() override {
        ++processCount;
        callLog().processed.push_back(name);
        callLog().drawingEnabled.push_back(owner->drawingEnabled);
        return processResult;
    }
    bool render() override {
        ++renderCount;
        return true;
    }
    void bindSyncTracks() override { owner->bindFloat(name + "#own", &ownSync); }

    float amount = 0.0f;
    float offset[2] = {};
    float color[4] = {};
    std::string file;
    int32_t mode = 0;
    bool enabled = false;
    float translate[3] = {};
    float scale[3] = {};
    float ownSync = 0.0f;  // bound by the node itself, not a parameter
    int processCount = 0;
    int renderCount = 0;
    bool processResult = true;
};

class TestViewer : public engine::OutputNode {
public:
    TestViewer(Engine& engine, const std::string& name) : OutputNode(engine, name) {
        setInputCount(1);
        inputNames[0] = "Image";
    }
    bool acceptsInput(int32_t index, const Node& source) const override {
        return index == 0 && source.kind() == NodeKind::Image;
    }
    bool process() override {
        callLog().processed.push_back(name);
        callLog().drawingEnabled.push_back(owner->drawingEnabled);
        return true;
    }
    void present() override { callLog().presented.push_back(name); }
};

class TestGeometryNode : public Node {
public:
    TestGeometryNode(Engine& engine, const std::string& name) : Node(engine, name) {
        engine.addFloat(*this, "Size", &size, 0.0f, 1.0f, 3, 0.5f, false);
    }
    NodeKind kind() const override { return NodeKind::Geometry; }
    bool acceptsInput(int32_t, const Node&) const override { return false; }
    bool process() override {
        callLog().processed.push_back(name);
        callLog().drawingEnabled.push_back(owner->drawingEnabled);
        return true;
    }
    float size = 0.0f;
};

inline void registerTestNodeTypes(engine::NodeFactory& factory) {
    factory.add("TestImage", engine::constructs<TestImageNode>());
    factory.add("TestViewer", engine::constructs<TestViewer>());
    factory.add("TestGeometry", engine::constructs<TestGeometryNode>());
}

}  // namespace vorn::test
