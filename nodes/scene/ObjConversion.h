// What "3D_ObjReader" makes of a read OBJ file, without GL: its objects and
// the bounds its pivot is the centre of. vorn-mesh prints exactly these.
//
// The OBJ world is y-up; the system's is drawn y-down, so positions become
// (x, -y, z), normals (nx, -ny, nz) and texture coordinates (u, 1 - v).
#pragma once

#include "nodes/scene/MeshData.h"
#include "nodes/scene/ObjFile.h"

#include <array>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace vorn::nodes {

// One object to upload: views of the converted file's lists.
struct ObjObject {
    std::string_view name;
    std::span<const MeshVertex> vertices;
    std::span<const uint32_t> indices;  // from the object's first vertex
};

struct ObjBounds {
    std::array<float, 3> min;
    std::array<float, 3> max;
};

struct ObjObjects {
    // One per mesh name, in the order names are first met; a later mesh of a
    // name replaces the earlier one.
    std::vector<ObjObject> objects;
    // Axis-aligned bounds of every vertex of the file (also those of replaced
    // meshes), starting from 999999 for the minima and -999999 for the
    // maxima, so coordinates beyond those never move them. Nothing when the
    // file gave no vertices.
    std::optional<ObjBounds> bounds;
};

// Converts the file's vertices in place (they no longer hold what was read),
// the normals negated as a whole when invertNormals is set. The objects view
// the file: they are valid while it lives and is not changed.
ObjObjects convertObjFile(ObjFile& file, bool invertNormals);

}  // namespace vorn::nodes
