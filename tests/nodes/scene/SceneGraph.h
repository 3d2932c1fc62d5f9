// An engine with the player's node classes, in a fresh working folder, on the
// tests' GL context: for graphs of 3D nodes evaluated frame by frame.
#pragma once

#include "engine/Engine.h"
#include "render/Matrix.h"
#include "tests/support/GlFixture.h"
#include "tests/support/WorkingDirectory.h"
#include "ui/NodeTypes.h"

#include <gtest/gtest.h>

#include <array>
#include <string>

namespace vorn::test {

class SceneGraph : public GlTest {
protected:
    void SetUp() override {
        GlTest::SetUp();
        ui::attachNodeClasses(engine_.factory);
    }
    void TearDown() override {
        engine_.clearScene();
        GlTest::TearDown();
    }

    template <class T>
    T* create(const std::string& name, const std::string& type) {
        EXPECT_TRUE(engine_.createNode(name, type)) << type;
        return dynamic_cast<T*>(engine_.findNode(name));
    }
    void connect(const std::string& source, const std::string& target, int input) {
        ASSERT_TRUE(engine_.connect(source, target, input)) << source << " -> " << target;
    }
    // node's evaluate at engine time t, as the first node of a fresh frame.
    bool evaluateAt(engine::Node& node, float t) {
        engine_.time = t;
        for (auto& [name, each] : engine_.nodesByName) each->evaluated = false;
        return node.evaluate();
    }

    WorkingDirectory folder_;
    engine::Engine engine_;
};

// m applied to the point p (w = 1).
inline std::array<float, 3> transformPoint(const render::Mat4& m, std::array<float, 3> p) {
    std::array<float, 3> out{};
    for (int r = 0; r < 3; ++r) out[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
    return out;
}

inline void expectPoint(const std::array<float, 3>& actual, const std::array<float, 3>& expected) {
    for (int a = 0; a < 3; ++a) EXPECT_NEAR(actual[a], expected[a], 1e-4f) << "component " << a;
}

}  // namespace vorn::test
