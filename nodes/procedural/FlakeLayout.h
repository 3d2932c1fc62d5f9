// The layout of the flake field: one record per flake with its place in the
// unit region, its cell of the texture atlas and three random numbers for its
// sway and variance, drawn from the C runtime generator seeded with
// 0xCAFFEE13 in a fixed order. A larger count therefore keeps the first
// flakes where they were. Plain CPU work; the flake renderer uploads it.
#pragma once

#include <vector>

namespace vorn::nodes {

struct FlakeVertex {
    float positionSize[4];   // x, y, z in [-1, 1), size factor 1
    float textureOffset[4];  // atlas cell corner u, v, cell width, cell height
    float randoms[4];        // three numbers in [-1, 1), then 1
};
static_assert(sizeof(FlakeVertex) == 48, "three float4 attributes, stride 48");

// n flakes on an atlas of atlasSize x atlasSize cells (atlasSize >= 1; the
// cell index uses its integer part, the cell size the value itself).
std::vector<FlakeVertex> generateFlakes(int n, float atlasSize);

}  // namespace vorn::nodes
