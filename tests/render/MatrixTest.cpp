#include "render/Matrix.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace vorn::render;

namespace {

// Columns written as they appear in memory: column-major, translation last.
Mat4 columns(std::initializer_list<float> values) {
    Mat4 m{};
    std::copy(values.begin(), values.end(), m.begin());
    return m;
}

}  // namespace

TEST(Matrix, ProductsInversesAndViewsMatchHandWorkedResults) {
    // A = rows (1 2 0 0)(0 1 3 0)(4 0 1 0)(0 0 0 1), B = rows (1 0 0 5)(2 1 0 0)(0 0 2 0)(0 0 0 1):
    // A x B = rows (5 2 0 5)(2 1 6 0)(4 0 2 20)(0 0 0 1).
    Mat4 a = columns({1, 0, 4, 0, 2, 1, 0, 0, 0, 3, 1, 0, 0, 0, 0, 1});
    Mat4 b = columns({1, 2, 0, 0, 0, 1, 0, 0, 0, 0, 2, 0, 5, 0, 0, 1});
    // Rows (2 0 1)(1 1 0)(0 3 1), determinant 5, adjugate rows (1 3 -1)(-1 2 1)(3 -6 2);
    // the bottom row (9s) is ignored.
    Mat4 general = columns({2, 1, 0, 9, 0, 1, 3, 9, 1, 0, 1, 9, 0, 0, 0, 9});
    struct Case {
        const char* what;
        Mat4 actual, expected;
    };
    const Case cases[] = {
        {"scale, then move", matrixProduct(translationMatrix(1, 2, 3), scaleMatrix(2, 3, 4)),
         columns({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 1, 2, 3, 1})},
        {"move, then scale", matrixProduct(scaleMatrix(2, 3, 4), translationMatrix(1, 2, 3)),
         columns({2, 0, 0, 0, 0, 3, 0, 0, 0, 0, 4, 0, 2, 6, 12, 1})},
        {"general product", matrixProduct(a, b), columns({5, 2, 4, 0, 2, 1, 0, 0, 0, 6, 2, 0, 5, 0, 20, 1})},
        // 90 degrees about z, then (5, 0, 0): rotated back and moved by -(R^T t) = (0, 5, 0).
        {"inverse of a turn", affineInverse(columns({0, 1, 0, 0, -1, 0, 0, 0, 0, 0, 1, 0, 5, 0, 0, 1})),
         columns({0, -1, 0, 0, 1, 0, 0, 0, 0, 0, 1, 0, 0, 5, 0, 1})},
        {"inverse by cofactors", affineInverse(general),
         columns({0.2f, -0.2f, 0.6f, 0, 0.6f, 0.4f, -1.2f, 0, -0.2f, 0.2f, 0.4f, 0, 0, 0, 0, 1})},
        // Eye on +x: s = (0 0 -1), u = (0 1 0), f = (1 0 0); the target lands 3 down -z.
        {"eye on +x", lookAtMatrix({3, 0, 0}, {0, 0, 0}, {0, 1, 0}),
         columns({0, 0, 1, 0, 0, 1, 0, 0, -1, 0, 0, 0, 0, 0, -3, 1})},
    };
    for (const Case& c : cases)
        for (int i = 0; i < 16; ++i) EXPECT_NEAR(c.actual[i], c.expected[i], 1e-6f) << c.what << ", element " << i;
    for (float v : lookAtMatrix({1, 1, 1}, {1, 1, 1}, {0, 1, 0})) EXPECT_TRUE(std::isfinite(v));
}
