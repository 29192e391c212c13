#include "math/Mat4.h"

#include <gtest/gtest.h>

namespace {

TEST(Mat4, NormalMatrixIsTheInverseTransposeOfAnyBlock) {
    // Skewed and scaled: the normals of a plane stay perpendicular to it only through the inverse
    // transpose.
    const Mat4 m =
        rotation(33.0f, 1.0f, 2.0f, -0.5f) * scaling(2.0f, 0.5f, 3.0f) * rotation(-71.0f, 0.0f, 1.0f, 1.0f);
    float n[9];
    normalMatrixOf(m, n);
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) {
            float dot = 0.0f; // column i of n against column j of m: the identity
            for (int k = 0; k < 3; ++k) dot += n[3 * i + k] * m[4 * j + k];
            EXPECT_NEAR(dot, i == j ? 1.0f : 0.0f, 1e-5f) << i << ", " << j;
        }
}

TEST(Mat4, RotationAboutAnyAxisKeepsTheAxisAndTurnsRightHanded) {
    const Mat4 r = rotation(90.0f, 0.0f, 0.0f, 2.0f); // the axis needs no unit length
    const Vec4 x = transform(r, Vec4(1, 0, 0, 1));
    EXPECT_NEAR(x.x, 0.0f, 1e-6f);
    EXPECT_NEAR(x.y, 1.0f, 1e-6f);
    const Mat4 any = rotation(57.0f, 1.0f, -2.0f, 0.5f);
    const Vec4 axis = transform(any, Vec4(1.0f, -2.0f, 0.5f, 0.0f));
    EXPECT_NEAR(axis.x, 1.0f, 1e-5f);
    EXPECT_NEAR(axis.y, -2.0f, 1e-5f);
    EXPECT_NEAR(axis.z, 0.5f, 1e-5f);
}

} // namespace
