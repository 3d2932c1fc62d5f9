// Triangle meshes: the interleaved vertex every 3D program reads (attribute 0
// position, 1 normal, 2 texture coordinate), the CPU-side mesh a producer
// builds, and the GPU object a geometry node holds. Objects are plain records
// copied by value between nodes; copies share the GL names, so only the node
// that built an object releases it (see GeometryNode::sharesObjects).
#pragma once

#include "render/Matrix.h"

#include <GL/glew.h>

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::nodes {

struct Material;

struct MeshVertex {
    float position[3];
    float normal[3];
    float uv[2];
};
static_assert(sizeof(MeshVertex) == 32, "the vertex layout is shared with every 3D program");

struct MeshData {
    std::string name;
    std::vector<MeshVertex> vertices;
    std::vector<uint32_t> indices;  // three per triangle, counter-clockwise
};

struct MeshObject {
    GLuint vertexArray = 0;
    GLuint vertexBuffer = 0;
    GLuint indexBuffer = 0;
    uint32_t vertexCount = 0;
    uint32_t indexCount = 0;
    std::string name;
    const Material* material = nullptr;  // overrides the node's material when set
    render::Mat4 matrix = render::identityMatrix();  // applied after the node's placement
};

// Uploads mesh with static-draw usage into a new vertex array and two buffers.
// The result has the mesh's name, the identity matrix and no material.
MeshObject createMeshObject(const MeshData& mesh);

// Deletes the object's vertex array and buffers (only for the node that built it).
void releaseMeshObject(MeshObject& object);

}  // namespace vorn::nodes
