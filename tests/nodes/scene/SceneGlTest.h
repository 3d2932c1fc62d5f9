// SceneGraph (SceneTestNodes.h) on the tests' GL context, in a fresh working
// folder, with every type of the player attached: for the nodes that load
// files and build GL objects.
#pragma once

#include "tests/nodes/scene/SceneTestNodes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/WorkingDirectory.h"
#include "ui/NodeTypes.h"

namespace vorn::test {

class SceneGlTest : public GlTest, protected SceneGraph {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ui::attachNodeClasses(engine.factory);
    }
    void TearDown() override {
        engine.clearScene();
        GlTest::TearDown();
    }
    // evaluateAt that gives the node's answer.
    bool evaluatedAt(engine::Node& node, float t) {
        engine.time = t;
        for (auto& [name, each] : engine.nodesByName) each->evaluated = false;
        return node.evaluate();
    }

    WorkingDirectory folder_;
};

}  // namespace vorn::test
