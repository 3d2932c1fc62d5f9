// What the 3D nodes' tests share: a geometry and a camera whose records the test sets, and an engine
// with the scene and procedural types on the GL context in a fresh working folder.
#pragma once

#include "engine/Engine.h"
#include "nodes/procedural/ProceduralNodeTypes.h"
#include "nodes/scene/CameraNode.h"
#include "nodes/scene/GeometryNode.h"
#include "nodes/scene/Material.h"
#include "nodes/scene/PbrMaterial.h"
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

// A camera with the renderers' default lens (60 degrees, 16:9) whose view the test sets.
class TestCamera : public nodes::CameraNode {
public:
    TestCamera(engine::Engine& owner, std::string name) : CameraNode(owner, std::move(name)) {
        projectionMatrix = nodes::perspectiveMatrix(60.0f, 1.7777778f, 0.1f, 10000.0f);
    }
    bool process() override { return true; }
};

inline void expectMaps(const render::Mat4& m, const render::Vec3& p, const render::Vec3& expected,
                       float tolerance = 1e-5f) {
    for (int r = 0; r < 3; ++r)
        EXPECT_NEAR(m[r] * p[0] + m[4 + r] * p[1] + m[8 + r] * p[2] + m[12 + r], expected[r], tolerance) << "row " << r;
}

// A 1x1 float texture holding one texel.
inline GLuint floatTexel(const std::array<float, 4>& texel) {
    GLuint texture = 0;
    glGenTextures(1, &texture);
    glBindTexture(GL_TEXTURE_2D, texture);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA32F, 1, 1, 0, GL_RGBA, GL_FLOAT, texel.data());
    glBindTexture(GL_TEXTURE_2D, 0);
    return texture;
}

// A vertex as position, normal and texture coordinates.
using VertexRow = std::array<float, 8>;

inline std::vector<VertexRow> uploadedVertices(const nodes::MeshObject& object) {
    std::vector<VertexRow> rows(object.vertexCount);
    glBindBuffer(GL_ARRAY_BUFFER, object.vertexBuffer);
    glGetBufferSubData(GL_ARRAY_BUFFER, 0, GLsizeiptr(rows.size() * sizeof(VertexRow)), rows.data());
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    return rows;
}

class SceneTest : public GlTest {
protected:
    SceneTest() {
        nodes::attachSceneNodeTypes(engine.factory);
        nodes::attachProceduralNodeTypes(engine.factory);
        engine.factory.add("Test Geometry", engine::constructs<TestGeometry>());
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
