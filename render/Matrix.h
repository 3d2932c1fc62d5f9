// 4x4 float matrices as the whole system stores them: column-major, element
// (row r, column c) at index 4c + r, translation in elements 12-14, applied to
// column vectors. Texture matrices, camera views and model placements are all
// built from these few operations.
#pragma once

#include <array>

namespace vorn::render {

using Mat4 = std::array<float, 16>;
using Vec3 = std::array<float, 3>;

Mat4 identityMatrix();
Mat4 translationMatrix(float x, float y, float z);
Mat4 scaleMatrix(float x, float y, float z, float w = 1.0f);

// Rotations about one axis by an angle in radians (right-handed, column vectors).
Mat4 rotationX(float radians);
Mat4 rotationY(float radians);
Mat4 rotationZ(float radians);

// a x b: applying the result to v equals applying b, then a.
Mat4 matrixProduct(const Mat4& a, const Mat4& b);

// Inverse of an affine matrix: the upper-left 3x3 inverted through cofactors
// and determinant, translation -(R^-1 t), bottom row 0 0 0 1. The bottom row
// of the input is ignored. A singular 3x3 gives non-finite elements.
Mat4 affineInverse(const Mat4& m);

// View matrix looking from eye at target: rows s, u, f of the rotation with
// f = normalise(eye - target), s = normalise(up x f), u = normalise(f x s),
// times the translation by -eye. Zero-length axes stay zero rather than NaN.
Mat4 lookAtMatrix(const Vec3& eye, const Vec3& target, const Vec3& up);

}  // namespace vorn::render
