#include "nodes/scene/FaceTriangulation.h"

#include <algorithm>
#include <array>

namespace vorn::nodes {

namespace {

using Vec = std::array<float, 3>;

Vec minus(const Vec& a, const Vec& b) { return {a[0] - b[0], a[1] - b[1], a[2] - b[2]}; }
Vec cross(const Vec& a, const Vec& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}
float dot(const Vec& a, const Vec& b) { return a[0] * b[0] + a[1] * b[1] + a[2] * b[2]; }
Vec positionOf(const MeshVertex& v) { return {v.position[0], v.position[1], v.position[2]}; }

void emit(std::vector<uint32_t>& triangles, uint32_t a, uint32_t b, uint32_t c) {
    triangles.push_back(a);
    triangles.push_back(b);
    triangles.push_back(c);
}

void emitSorted(std::vector<uint32_t>& triangles, uint32_t a, uint32_t b, uint32_t c) {
    if (a > b) std::swap(a, b);
    if (b > c) std::swap(b, c);
    if (a > b) std::swap(a, b);
    emit(triangles, a, b, c);
}

// C is an ear of P, C, N unless a corner V of the face (other than those at
// P's, C's or N's position) lies on N's side of the line P C, no further than
// half-way to N: 0 <= s <= 0.5 with s the share of V's cross product along m.
bool isEar(std::span<const MeshVertex> corners, uint32_t p, uint32_t c, uint32_t n) {
    const Vec P = positionOf(corners[p]);
    const Vec C = positionOf(corners[c]);
    const Vec N = positionOf(corners[n]);
    Vec edge = minus(C, P);
    Vec m = cross(edge, minus(N, P));
    float mm = dot(m, m);
    for (const MeshVertex& corner : corners) {
        const Vec V = positionOf(corner);
        if (V == P || V == C || V == N) continue;
        float s = dot(cross(edge, minus(V, P)), m) / mm;
        if (s >= 0.0f && s <= 0.5f) return false;
    }
    return true;
}

}  // namespace

void triangulateFace(std::span<const MeshVertex> corners, std::vector<uint32_t>& triangles,
                     std::vector<uint32_t>& working) {
    const std::size_t n = corners.size();
    if (n < 3) return;
    if (n == 3) {
        emit(triangles, 0, 1, 2);
        return;
    }
    if (n > kMaxEarClippedCorners) {
        for (uint32_t i = 1; i + 1 < n; ++i) emit(triangles, 0, i, i + 1);
        return;
    }

    working.resize(n);
    for (uint32_t i = 0; i < n; ++i) working[i] = i;
    // Each pass walks the working corners from the first; an ear is cut and
    // the next pass starts over. Four corners left are split without a test.
    for (;;) {
        const std::size_t count = working.size();
        if (count == 3) {
            emitSorted(triangles, working[0], working[1], working[2]);
            return;
        }
        if (count == 4) {
            uint32_t c = working[0], p = working[3], nx = working[1], fourth = working[2];
            emitSorted(triangles, c, p, nx);
            emitSorted(triangles, p, nx, fourth);
            return;
        }
        bool cut = false;
        for (std::size_t i = 0; i < count; ++i) {
            uint32_t p = working[i == 0 ? count - 1 : i - 1];
            uint32_t c = working[i];
            uint32_t nx = working[i + 1 == count ? 0 : i + 1];
            if (isEar(corners, p, c, nx)) {
                emitSorted(triangles, c, p, nx);
                working.erase(working.begin() + std::ptrdiff_t(i));
                cut = true;
                break;
            }
        }
        if (!cut) return;
    }
}

}  // namespace vorn::nodes
