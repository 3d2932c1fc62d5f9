// The CPU side of a triangle mesh, free of GL so that file readers, tools and
// fuzz targets can build it: the interleaved vertex every 3D program reads
// (attribute 0 position, 1 normal, 2 texture coordinate) and a named list of
// vertices with three indices per triangle. Mesh.h uploads it.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace vorn::nodes {

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

}  // namespace vorn::nodes
