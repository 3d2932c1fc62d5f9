// The lookup data of marching cubes: which cube edges an iso-surface crosses
// and how the crossing points form triangles, for each of the 256 ways the
// eight corners of a cube can lie below or above the iso level. The triangle
// table is the classic published one, so surfaces match those of other
// programs that use it; the edge masks follow from the corner states.
//
// Corners are numbered 0 (0,0,0), 1 (0,0,1), 2 (0,1,1), 3 (0,1,0), 4 (1,0,0),
// 5 (1,0,1), 6 (1,1,1), 7 (1,1,0) in the cube's own (i, j, k) offsets; bit c of
// a cube index is set when corner c lies below the iso level.
#pragma once

#include <array>
#include <cstdint>

namespace vorn::nodes::marching {

// The two corners joined by edge e, for e = 0 ... 11.
inline constexpr std::array<std::array<uint8_t, 2>, 12> kEdgeCorners = {{
    {0, 1}, {1, 2}, {2, 3}, {3, 0}, {4, 5}, {5, 6}, {6, 7}, {7, 4}, {0, 4}, {1, 5}, {2, 6}, {3, 7},
}};

// Bit e set when the surface crosses edge e: its two corners lie on
// different sides of the iso level.
constexpr uint16_t edgeMask(int cubeIndex) {
    uint16_t mask = 0;
    for (int e = 0; e < 12; ++e) {
        int a = (cubeIndex >> kEdgeCorners[e][0]) & 1;
        int b = (cubeIndex >> kEdgeCorners[e][1]) & 1;
        if (a != b) mask = uint16_t(mask | (1u << e));
    }
    return mask;
}

// Up to five triangles per cube index, three edge numbers each, ended by -1.
extern const std::array<std::array<int8_t, 16>, 256> kTriangleTable;

}  // namespace vorn::nodes::marching
