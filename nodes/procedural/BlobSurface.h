// The surface of weighted particles (metaballs): the field sum of w²/r² is
// sampled on a fixed cubic grid of 61 x 61 x 61 points spanning -10 ... 10 on
// each axis, and the level 1 is extracted by marching cubes. Plain CPU work,
// no GL: the particle mesher uploads the result.
//
// Vertices are not shared between triangles; each carries the interpolated,
// unnormalised field gradient away from the particles as its normal and the
// texture coordinate (0, 0). Triangles wind opposite to the table's order.
#pragma once

#include "nodes/scene/Mesh.h"

#include <span>

namespace vorn::nodes {

struct Particle {
    float x, y, z, w;
};

inline constexpr int kBlobGridSide = 61;          // points per axis
inline constexpr float kBlobHalfExtent = 10.0f;  // the grid spans -10 ... 10
inline constexpr float kBlobIsoLevel = 1.0f;

// A mesh named "Blob" whose indices are 0, 1, ... n-1 in vertex order.
MeshData meshBlob(std::span<const Particle> particles);

}  // namespace vorn::nodes
