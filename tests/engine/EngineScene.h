// An engine with the test node types and a fake sound device, initialised in
// the working directory, with the lookups the engine tests share.
#pragma once

#include <initializer_list>
#include <set>
#include <string>

#include "engine/Engine.h"
#include "tests/engine/FakeAudioOutput.h"
#include "tests/engine/TestNodes.h"

namespace vorn::test {

struct EngineScene {
    FakeAudioState audio;
    engine::Engine engine{std::make_unique<FakeAudioOutput>(audio)};

    explicit EngineScene(std::initializer_list<const char*> images = {}) {
        registerTestNodeTypes(engine.factory);
        engine.initialise();
        for (const char* name : images)
            engine.createNode(name, "TestImage");
        callLog() = {};
    }
    engine::Node* node(const std::string& name) { return engine.findNode(name); }
    TestImageNode& image(const std::string& name) { return *static_cast<TestImageNode*>(engine.findNode(name)); }
    // Lookups by name that never add an entry for the node.
    engine::KeyframeTrack* track(const std::string& node, const std::string& name) {
        if (engine.tracksByNode.count(node))
            for (auto& t : engine.tracksByNode[node])
                if (t.trackName == name) return &t;
        return nullptr;
    }
    std::set<std::string> trackNames(const std::string& node) {
        std::set<std::string> names;
        if (engine.tracksByNode.count(node))
            for (const auto& t : engine.tracksByNode[node])
                names.insert(t.trackName);
        return names;
    }
};

}  // namespace vorn::test
