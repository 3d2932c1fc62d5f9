// Any bytes loaded into an engine with the test node types, merged again under
// a prefix, keyed, run, partly deleted, saved, loaded again and cleared.
#include "engine/Engine.h"
#include "engine/ProjectWriter.h"
#include "tests/engine/TestNodes.h"

using namespace vorn;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    test::callLog() = {};
    engine::Engine engine;
    test::registerTestNodeTypes(engine.factory);
    engine.initialise();
    std::span<const uint8_t> bytes(data, size);
    engine.loadProjectBytes(bytes, "fuzz input", true, "");
    engine.loadProjectBytes(bytes, "fuzz input", false, "copy:");

    std::vector<std::string> names;
    for (const auto& [name, node] : engine.nodesByName) names.push_back(name);
    for (const std::string& name : names) {
        engine.addKeyframe(name, "Color");
        engine.linkSyncTrack(name, name + "#Amount", "Amount");
    }
    engine.update(0.5f);
    for (std::size_t i = 0; i < names.size(); i += 2) engine.deleteNode(names[i]);
    engine.update(1.0f);

    engine.loadProjectBytes(engine::writeProjectDocument(engine.projectDocument()), "saved", true, "");
    engine.clearScene();
    return 0;
}
