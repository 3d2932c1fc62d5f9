#include "nodes/procedural/BlobSurface.h"

#include "nodes/procedural/MarchingCubes.h"

#include <algorithm>
#include <vector>

namespace vorn::nodes {

namespace {

constexpr int kSide = kBlobGridSide;
constexpr int kCells = kSide - 1;
constexpr int kStrideI = kSide * kSide;  // point (i, j, k) lives at i*3721 + j*61 + k
constexpr int kStrideJ = kSide;

struct GridPoint {
    float position[3];
    float normal[3];  // accumulated field gradient, pointing away from the particles
    float value;
};

// Offset of corner c from the cube's lowest corner, in grid points.
constexpr std::array<int, 8> kCornerOffsets = {
    0, 1, kStrideJ + 1, kStrideJ, kStrideI, kStrideI + 1, kStrideI + kStrideJ + 1, kStrideI + kStrideJ,
};

constexpr std::array<uint16_t, 256> kEdgeMasks = [] {
    std::array<uint16_t, 256> masks{};
    for (int i = 0; i < 256; ++i) masks[i] = marching::edgeMask(i);
    return masks;
}();

std::vector<GridPoint> sampleField(std::span<const Particle> particles) {
    std::vector<GridPoint> grid(std::size_t(kSide) * kSide * kSide);
    const float s = kBlobHalfExtent;
    const float step = 2.0f * s / float(kCells);
    std::size_t index = 0;
    for (int i = 0; i < kSide; ++i)
        for (int j = 0; j < kSide; ++j)
            for (int k = 0; k < kSide; ++k) {
                GridPoint& p = grid[index++];
                p.position[0] = -s + float(i) * step;
                p.position[1] = -s + float(j) * step;
                p.position[2] = -s + float(k) * step;
                float value = 0.0f, nx = 0.0f, ny = 0.0f, nz = 0.0f;
                for (const Particle& q : particles) {
                    float dx = p.position[0] - q.x, dy = p.position[1] - q.y, dz = p.position[2] - q.z;
                    // Guards the division at a particle's own position.
                    float r2 = std::max(dx * dx + dy * dy + dz * dz, 0.0001f);
                    float w2 = q.w * q.w;
                    value += w2 / r2;
                    float g = w2 / (r2 * r2);
                    nx += dx * g;
                    ny += dy * g;
                    nz += dz * g;
                }
                p.value = value;
                p.normal[0] = nx;
                p.normal[1] = ny;
                p.normal[2] = nz;
            }
    return grid;
}

MeshVertex edgeVertex(const GridPoint& a, const GridPoint& b) {
    float mu = (kBlobIsoLevel - a.value) / (b.value - a.value);
    MeshVertex v{};
    for (int c = 0; c < 3; ++c) {
        v.position[c] = a.position[c] + mu * (b.position[c] - a.position[c]);
        v.normal[c] = a.normal[c] + mu * (b.normal[c] - a.normal[c]);
    }
    return v;
}

}  // namespace

MeshData meshBlob(std::span<const Particle> particles) {
    std::vector<GridPoint> grid = sampleField(particles);
    std::vector<uint8_t> below(grid.size());
    for (std::size_t p = 0; p < grid.size(); ++p) below[p] = kBlobIsoLevel > grid[p].value ? 1 : 0;

    MeshData mesh;
    mesh.name = "Blob";
    std::array<MeshVertex, 12> crossings;
    for (int i = 0; i < kCells; ++i)
        for (int j = 0; j < kCells; ++j)
            for (int k = 0; k < kCells; ++k) {
                const int base = i * kStrideI + j * kStrideJ + k;
                int cubeIndex = 0;
                for (int c = 0; c < 8; ++c) cubeIndex |= below[base + kCornerOffsets[c]] << c;
                const uint16_t mask = kEdgeMasks[cubeIndex];
                if (mask == 0) continue;
                for (int e = 0; e < 12; ++e)
                    if (mask & (1u << e))
                        crossings[e] = edgeVertex(grid[base + kCornerOffsets[marching::kEdgeCorners[e][0]]],
                                                  grid[base + kCornerOffsets[marching::kEdgeCorners[e][1]]]);
                const auto& triangles = marching::kTriangleTable[cubeIndex];
                for (int t = 0; triangles[t] != -1; t += 3) {
                    mesh.vertices.push_back(crossings[triangles[t]]);
                    mesh.vertices.push_back(crossings[triangles[t + 2]]);
                    mesh.vertices.push_back(crossings[triangles[t + 1]]);
                }
            }
    mesh.indices.resize(mesh.vertices.size());
    for (std::size_t n = 0; n < mesh.indices.size(); ++n) mesh.indices[n] = uint32_t(n);
    return mesh;
}

}  // namespace vorn::nodes
