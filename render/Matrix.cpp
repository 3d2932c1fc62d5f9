#include "render/Matrix.h"

#include <cmath>

namespace vorn::render {

namespace {

Vec3 cross(const Vec3& a, const Vec3& b) {
    return {a[1] * b[2] - a[2] * b[1], a[2] * b[0] - a[0] * b[2], a[0] * b[1] - a[1] * b[0]};
}

Vec3 normalise(const Vec3& v) {
    float length = std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]);
    if (length == 0.0f) return v;
    return {v[0] / length, v[1] / length, v[2] / length};
}

float at(const Mat4& m, int row, int column) { return m[4 * column + row]; }

}  // namespace

Mat4 identityMatrix() { return scaleMatrix(1.0f, 1.0f, 1.0f); }

Mat4 translationMatrix(float x, float y, float z) {
    Mat4 m = identityMatrix();
    m[12] = x;
    m[13] = y;
    m[14] = z;
    return m;
}

Mat4 scaleMatrix(float x, float y, float z, float w) {
    return {x, 0, 0, 0, 0, y, 0, 0, 0, 0, z, 0, 0, 0, 0, w};
}

Mat4 rotationX(float radians) {
    float s = std::sin(radians), c = std::cos(radians);
    Mat4 m = identityMatrix();
    m[5] = c;
    m[6] = s;
    m[9] = -s;
    m[10] = c;
    return m;
}

Mat4 rotationY(float radians) {
    float s = std::sin(radians), c = std::cos(radians);
    Mat4 m = identityMatrix();
    m[0] = c;
    m[2] = -s;
    m[8] = s;
    m[10] = c;
    return m;
}

Mat4 rotationZ(float radians) {
    float s = std::sin(radians), c = std::cos(radians);
    Mat4 m = identityMatrix();
    m[0] = c;
    m[1] = s;
    m[4] = -s;
    m[5] = c;
    return m;
}

Mat4 matrixProduct(const Mat4& a, const Mat4& b) {
    Mat4 result{};
    for (int column = 0; column < 4; ++column)
        for (int row = 0; row < 4; ++row) {
            float sum = 0.0f;
            for (int k = 0; k < 4; ++k) sum += at(a, row, k) * at(b, k, column);
            result[4 * column + row] = sum;
        }
    return result;
}

Mat4 affineInverse(const Mat4& m) {
    // Cofactors of the 3x3 part, laid out as the transposed cofactor matrix
    // (the adjugate), so inverse(r, c) = adjugate(r, c) / determinant.
    auto a = [&](int r, int c) { return at(m, r, c); };
    float adj[3][3] = {
        {a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1), a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2),
         a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1)},
        {a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2), a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0),
         a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2)},
        {a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0), a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1),
         a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)},
    };
    float determinant = a(0, 0) * adj[0][0] + a(0, 1) * adj[1][0] + a(0, 2) * adj[2][0];

    Mat4 result{};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c) result[4 * c + r] = adj[r][c] / determinant;
    for (int r = 0; r < 3; ++r)
        result[12 + r] = -(result[r] * m[12] + result[4 + r] * m[13] + result[8 + r] * m[14]);
    result[15] = 1.0f;
    return result;
}

Mat4 lookAtMatrix(const Vec3& eye, const Vec3& target, const Vec3& up) {
    Vec3 f = normalise({eye[0] - target[0], eye[1] - target[1], eye[2] - target[2]});
    Vec3 s = normalise(cross(up, f));
    Vec3 u = normalise(cross(f, s));
    Mat4 rotation = identityMatrix();
    for (int c = 0; c < 3; ++c) {
        rotation[4 * c + 0] = s[c];
        rotation[4 * c + 1] = u[c];
        rotation[4 * c + 2] = f[c];
    }
    return matrixProduct(rotation, translationMatrix(-eye[0], -eye[1], -eye[2]));
}

}  // namespace vorn::render
