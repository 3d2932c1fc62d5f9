// Inputs the 3D nodes' tests assemble themselves: a geometry node holding
// object records with made-up GL names, a material node and a camera whose
// records the test sets, and an engine with the scene and procedural types
// attached, evaluated one frame at a time.
#pragma once

#include "engine/Engine.h"
#include "nodes/procedural/ProceduralNodeTypes.h"
#include "nodes/scene/CameraNode.h"
#include "nodes/scene/GeometryNode.h"
#include "nodes/scene/Material.h"
#include "nodes/scene/SceneNodeTypes.h"

#include <gtest/gtest.h>

#include <string>

namespace vorn::test {

class TestGeometry : public nodes::GeometryNode {
public:
    TestGeometry(engine::Engine& owner, std::string name) : GeometryNode(owner, std::move(name)) {
        sharesObjects = true;  // the names are made up: nothing to release
    }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }

    // Appends a record named name whose vertex array is id.
    nodes::MeshObject& add(const std::string& name, GLuint id) {
        nodes::MeshObject& object = objects.emplace_back();
        object.vertexArray = id;
        object.name = name;
        return object;
    }
};

class TestMaterial : public nodes::MaterialNode {
public:
    using MaterialNode::MaterialNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
    const nodes::Material* getMaterial() const override { return &record; }
    nodes::PbrMaterial record;
};

class TestCamera : public nodes::CameraNode {
public:
    using CameraNode::CameraNode;
    bool process() override { return true; }
};

struct SceneGraph {
    SceneGraph() {
        nodes::attachSceneNodeTypes(engine.factory);
        nodes::attachProceduralNodeTypes(engine.factory);
        engine.factory.add("Test Geometry", engine::constructs<TestGeometry>());
        engine.factory.add("Test Material", engine::constructs<TestMaterial>());
        engine.factory.add("Test Camera", engine::constructs<TestCamera>());
    }
    template <class T>
    T* create(const std::string& name, const std::string& type) {
        EXPECT_TRUE(engine.createNode(name, type)) << type;
        return dynamic_cast<T*>(engine.findNode(name));
    }
    void connect(const std::string& source, const std::string& target, int input) {
        ASSERT_TRUE(engine.connect(source, target, input)) << source << " -> " << target;
    }
    // node's evaluate at engine time t, as the first node of a fresh frame.
    void evaluateAt(engine::Node& node, float t = 0.0f) {
        engine.time = t;
        for (auto& [name, each] : engine.nodesByName) each->evaluated = false;
        node.evaluate();
    }

    engine::Engine engine;
};

// Expects the matrix to send p to expected.
inline void expectMaps(const render::Mat4& m, const render::Vec3& p, const render::Vec3& expected,
                       float tolerance = 1e-5f) {
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r], expected[r], tolerance) << "row " << r;
}

}  // namespace vorn::test
