// Triangle meshes on the GPU: the object a geometry node holds, built from the
// CPU-side mesh of MeshData.h. Objects are plain records copied by value
// between nodes; copies share the GL names, so only the node that built an
// object releases it (see GeometryNode::sharesObjects).
#pragma once

#include "nodes/scene/MeshData.h"
#include "render/Matrix.h"

#include <GL/glew.h>

#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace vorn::nodes {

struct Material;

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
// The same from lists held elsewhere (a read model's, without copying them).
MeshObject createMeshObject(std::string_view name, std::span<const MeshVertex> vertices,
                            std::span<const uint32_t> indices);

// Deletes the object's vertex array and buffers (only for the node that built it).
void releaseMeshObject(MeshObject& object);

}  // namespace vorn::nodes
