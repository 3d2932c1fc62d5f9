#include "render/Matrix.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vorn::render;

namespace {

void expectMatrixNear(const Mat4& actual, const Mat4& expected) {
    for (int i = 0; i < 16; ++i) EXPECT_NEAR(actual[i], expected[i], 1e-6f) << "element " << i;
}

// Columns written as they appear in memory: column-major, translation last.
Mat4 columns(std::initializer_list<float> values) {
    Mat4 m{};
    std::copy(values.begin(), values.end(), m.begin());
    return m;
}

}  // namespace

TEST(MatrixProduct, AppliesRightFactorFirst) {
    // T(1,2,3) x S(2,3,4): scale, then move; S x T moves the scaled offset.
    expectMatrixNear(matrixProduct(translationMatrix(1, 2, 3), scaleMatrix(2, 3, 4)),
                     columns({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1}));
    expectMatrixNear(matrixProduct(scaleMatrix(2, 3, 4), translationMatrix(1, 2, 3)),
                     columns({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 2, 6, 12, 1}));
}

TEST(MatrixProduct, MatchesHandWorkedGeneralCase) {
    // A = rows (1 2 0 0)(0 1 3 0)(4 0 1 0)(0 0 0 1), B = rows (1 0 0 5)(2 1 0 0)(0 0 2 0)(0 0 0 1)
    // A x B rows: (5 2 0 5)(2 1 6 0)(4 0 2 20)(0 0 0 1)
    Mat4 a = columns({1, 0, 4, 0, 2, 1, 0, 0, 0, 3, 1, 0, 0, 0, 0, 1});
    Mat4 b = columns({1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 5, 0, 0, 1});
    expectMatrixNear(matrixProduct(a, b),
                     columns({5, 2, 4, 0, 2, 1, 0, 0, 0, 6, 2, 0, 5, 0, 20, 1}));
}

TEST(AffineInverse, UndoesScaleAndTranslation) {
    Mat4 m = matrixProduct(translationMatrix(1, 2, 3), scaleMatrix(2, 4, 8));
    expectMatrixNear(affineInverse(m),
                     columns({0.5f, 0, 0, 0, 0, 0.25f, 0, 0, 0, 0, 0.125f, 0, -0.5f, -0.5f, -0.375f, 1}));
}

TEST(AffineInverse, InvertsRotationWithTranslation) {
    // 90 degrees about z, then move by (5, 0, 0): inverse rotates back and
    // moves by -(R^T t) = (0, 5, 0).
    Mat4 m = columns({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1});
    expectMatrixNear(affineInverse(m),
                     columns({0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 5, 0, 1}));
}

TEST(AffineInverse, UsesCofactorsOfGeneralMatrixAndIgnoresBottomRow) {
    // Rows (2 0 1)(1 1 0)(0 3 1), determinant 5, adjugate rows (1 3 -1)(-1 2 1)(3 -6 2).
    Mat4 m = columns({2, 1, 0, 9, 0, 1, 3, 9, 1, 0, 1, 9, 0, 0, 0, 9});
    expectMatrixNear(affineInverse(m), columns({0.2f, -0.2f, 0.6f, 0, 0.6f, 0.4f, -1.2f, 0,
                                                -0.2f, 0.2f, 0.4f, 0, 0, 0, 0, 1}));
}

TEST(LookAt, LooksDownNegativeZFromPositiveZ) {
    expectMatrixNear(lookAtMatrix({0, 0, 5}, {0, 0, 0}, {0, 1, 0}), translationMatrix(0, 0, -5));
}

TEST(LookAt, TurnsTheTargetInFrontOfTheEye) {
    // Eye on +x looking at the origin: s = (0 0 -1), u = (0 1 0), f = (1 0 0);
    // the target lands 3 units down the view's -z axis.
    expectMatrixNear(lookAtMatrix({3, 0, 0}, {0, 0, 0}, {0, 1, 0}),
                     columns({0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -3, 1}));
}

TEST(LookAt, DegenerateInputStaysFinite) {
    Mat4 m = lookAtMatrix({1, 1, 1}, {1, 1, 1}, {0, 1, 0});
    for (float v : m) EXPECT_TRUE(std::isfinite(v));
}
