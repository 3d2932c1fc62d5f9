// What the 3D nodes' tests share: inputs they assemble themselves (a geometry
// node holding object records, a material and a camera whose records the test
// sets) and one fixture, an engine with the scene and procedural types on the
// tests' GL context in a fresh working folder, evaluated one frame at a time.
#pragma once

#include "engine/Engine.h"
#include "nodes/procedural/ProceduralNodeTypes.h"
#include "nodes/scene/CameraNode.h"
#include "nodes/scene/GeometryNode.h"
#include "nodes/scene/Material.h"
#include "nodes/scene/SceneNodeTypes.h"
#include "tests/support/GlFixture.h"
#include "tests/support/WorkingDirectory.h"

#include <array>
#include <string>
#include <vector>

namespace vorn::test {

class TestGeometry : public nodes::GeometryNode {
public:
    using GeometryNode::GeometryNode;
    bool acceptsInput(int32_t, const engine::Node&) const override { return false; }
    bool process() override { return true; }
    // Appends a record whose vertex array is the made-up name id (nothing to release).
    nodes::MeshObject& add(const std::string& name, GLuint id) {
        sharesObjects = true;
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

// The renderers' default lens: 60 degrees, 16:9, near 0.1, far 10000.
inline render::Mat4 defaultLens() {
    const float f = 1.7320508f;  // 1 / tan(30 degrees)
    return {f / 1.7777778f, 0, 0, 0, 0, f, 0, 0, 0, 0, -1.00002f, -1, 0, 0, -0.200002f, 0};
}

// Expects the matrix to send p to expected.
inline void expectMaps(const render::Mat4& m, const render::Vec3& p, const render::Vec3& expected,
                       float tolerance = 1e-5f) {
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r], expected[r], tolerance) << "row " << r;
}

// The object's vertex buffer read back: position, normal and texture coordinates.
inline std::vector<std::array<float, 8>> uploadedVertices(const nodes::MeshObject& object) {
    std::vector<nodes::MeshVertex> vertices(object.vertexCount);
    glBindBuffer(GL_ARRAY_BUFFER, object.vertexBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(vertices.size() * sizeof(nodes::MeshVertex)), vertices.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    std::vector<std::array<float, 8>> rows;
    for (const nodes::MeshVertex& v : vertices)
        rows.push_back({v.position[0], v.position[1], v.position[2], v.normal[0], v.normal[1], v.normal[2], v.uv[0],
                        v.uv[1]});
    return rows;
}

class SceneTest : public GlTest {
protected:
    SceneTest() {
        nodes::attachSceneNodeTypes(engine.factory);
        nodes::attachProceduralNodeTypes(engine.factory);
        engine.factory.add("Test Geometry", engine::constructs<TestGeometry>());
        engine.factory.add("Test Material", engine::constructs<TestMaterial>());
        engine.factory.add("Test Camera", engine::constructs<TestCamera>());
    }
    void TearDown() override {
        engine.clearScene();
        GlTest::TearDown();
    }
    template <class T>
    T* create(const std::string& name, const std::string& type) {
        EXPECT_TRUE(engine.createNode(name, type)) << type;
        return dynamic_cast<T*>(engine.findNode(name));
    }
    void connect(const std::string& source, const std::string& target, int input) {
        ASSERT_TRUE(engine.connect(source, target, input)) << source << " -> " << target;
    }
    // The node's answer at engine time t, as the first node of a fresh frame.
    bool evaluateAt(engine::Node& node, float t = 0.0f) {
        engine.time = t;
        for (auto& [name, each] : engine.nodesByName) each->evaluated = false;
        return node.evaluate();
    }

    WorkingDirectory folder;
    engine::Engine engine;
};

}  // namespace vorn::test
