// Inputs for the 3D nodes' tests, assembled by the tests themselves: a
// geometry node whose object records and placement the test sets (made-up GL
// names), a material node holding a PBR record the test fills, a camera whose
// matrices the test sets, and a small graph of an engine with the scene and
// procedural node types attached, evaluated one frame at a time.
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
        sharesObjects = true;  // whatever the test puts in, it releases
    }
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }

    // Appends a record named name with made-up GL names (id, id + 1, id + 2).
    nodes::MeshObject& add(const std::string& name, GLuint id) {
        nodes::MeshObject object;
        object.vertexArray = id;
        object.vertexBuffer = id + 1;
        object.indexBuffer = id + 2;
        object.vertexCount = object.indexCount = 3;
        object.name = name;
        objects.push_back(object);
        return objects.back();
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

class SceneGraph {
public:
    SceneGraph() {
        nodes::attachSceneNodeTypes(engine.factory);
        nodes::attachProceduralNodeTypes(engine.factory);
        engine.factory.add("Test Geometry", engine::constructs<TestGeometry>());
        engine.factory.add("Test Material", engine::constructs<TestMaterial>());
        engine.factory.add("Test Camera", engine::constructs<TestCamera>());
        engine.time = 0.0f;
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

// Where the matrix sends the point p.
inline render::Vec3 transformed(const render::Mat4& m, const render::Vec3& p) {
    render::Vec3 out;
    for (int r = 0; r < 3; ++r) out[r] = m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r];
    return out;
}

inline void expectPoint(const render::Vec3& actual, const render::Vec3& expected, float tolerance = 1e-5f) {
    EXPECT_NEAR(actual[0], expected[0], tolerance);
    EXPECT_NEAR(actual[1], expected[1], tolerance);
    EXPECT_NEAR(actual[2], expected[2], tolerance);
}

}  // namespace vorn::test
