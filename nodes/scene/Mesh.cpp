#include "nodes/scene/Mesh.h"

#include <cstddef>

namespace vorn::nodes {

MeshObject createMeshObject(const MeshData& mesh) { return createMeshObject(mesh.name, mesh.vertices, mesh.indices); }

MeshObject createMeshObject(std::string_view name, std::span<const MeshVertex> vertices,
                            std::span<const uint32_t> indices) {
    MeshObject object;
    object.vertexCount = uint32_t(vertices.size());
    object.indexCount = uint32_t(indices.size());
    object.name = name;

    glGenVertexArrays(1, &object.vertexArray);
    glBindVertexArray(object.vertexArray);
    glGenBuffers(1, &object.vertexBuffer);
    glGenBuffers(1, &object.indexBuffer);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, object.indexBuffer);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, GLsizeiptr(object.indexCount) * 4, indices.data(), GL_STATIC_DRAW);
    glBindBuffer(GL_ARRAY_BUFFER, object.vertexBuffer);
    glBufferData(GL_ARRAY_BUFFER, GLsizeiptr(object.vertexCount) * sizeof(MeshVertex), vertices.data(),
                 GL_STATIC_DRAW);

    const GLsizei stride = sizeof(MeshVertex);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 3, GL_FLOAT, GL_FALSE, stride, (const void*)offsetof(MeshVertex, position));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 3, GL_FLOAT, GL_FALSE, stride, (const void*)offsetof(MeshVertex, normal));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 2, GL_FLOAT, GL_FALSE, stride, (const void*)offsetof(MeshVertex, uv));

    glBindVertexArray(0);
    glBindBuffer(GL_ARRAY_BUFFER, 0);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, 0);
    return object;
}

void releaseMeshObject(MeshObject& object) {
    glDeleteVertexArrays(1, &object.vertexArray);
    glDeleteBuffers(1, &object.vertexBuffer);
    glDeleteBuffers(1, &object.indexBuffer);
    object.vertexArray = object.vertexBuffer = object.indexBuffer = 0;
}

}  // namespace vorn::nodes
