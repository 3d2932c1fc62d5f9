// Triangles of one polygonal face of an OBJ file, as corner numbers of the face
// (0 = its first corner). Triangles and quads are split by rule; larger faces
// are ear-clipped, and faces of more than kMaxEarClippedCorners corners are
// cut as a fan from their first corner, since ear clipping is cubic in the
// corner count and a hostile file could stall a load with a few huge faces.
// Each triangle lists its three corners in face order, which keeps the
// face's winding.
#pragma once

#include "nodes/scene/MeshData.h"

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace vorn::nodes {

inline constexpr std::size_t kMaxEarClippedCorners = 256;

// Appends three corner numbers per triangle of the face whose corners are
// these vertices (in file order; only positions count) to triangles; fewer
// than three corners give none. The working vector is scratch space kept by
// the caller between faces.
void triangulateFace(std::span<const MeshVertex> corners, std::vector<uint32_t>& triangles,
                     std::vector<uint32_t>& working);

}  // namespace vorn::nodes
