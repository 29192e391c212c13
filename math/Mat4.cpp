#include "math/Mat4.h"

#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;

float& at(Mat4& m, int row, int column) { return m.m[4 * column + row]; }

// gluLookAt's normalize: a zero vector stays as it is.
void normalizeOrKeep(float v[3]) {
    const float r = static_cast<float>(std::sqrt(v[0] * v[0] + v[1] * v[1] + v[2] * v[2]));
    if (r == 0.0f) return;
    v[0] /= r, v[1] /= r, v[2] /= r;
}

void crossInto(const float a[3], const float b[3], float out[3]) {
    out[0] = a[1] * b[2] - a[2] * b[1];
    out[1] = a[2] * b[0] - a[0] * b[2];
    out[2] = a[0] * b[1] - a[1] * b[0];
}

} // namespace

Mat4 operator*(const Mat4& a, const Mat4& b) {
    Mat4 r;
    for (int c = 0; c < 4; ++c)
        for (int row = 0; row < 4; ++row)
            r.m[4 * c + row] = a.m[row] * b.m[4 * c] + a.m[4 + row] * b.m[4 * c + 1] +
                               a.m[8 + row] * b.m[4 * c + 2] + a.m[12 + row] * b.m[4 * c + 3];
    return r;
}

Vec4 transform(const Mat4& m, const Vec4& v) {
    return Vec4(m.m[0] * v.x + m.m[4] * v.y + m.m[8] * v.z + m.m[12] * v.w,
                m.m[1] * v.x + m.m[5] * v.y + m.m[9] * v.z + m.m[13] * v.w,
                m.m[2] * v.x + m.m[6] * v.y + m.m[10] * v.z + m.m[14] * v.w,
                m.m[3] * v.x + m.m[7] * v.y + m.m[11] * v.z + m.m[15] * v.w);
}

Mat4 translation(float x, float y, float z) {
    Mat4 r;
    r.m[12] = x, r.m[13] = y, r.m[14] = z;
    return r;
}

Mat4 scaling(float x, float y, float z) {
    Mat4 r;
    r.m[0] = x, r.m[5] = y, r.m[10] = z;
    return r;
}

Mat4 rotation(float degrees, float x, float y, float z) {
    const float s = static_cast<float>(std::sin(degrees * kPi / 180.0));
    const float c = static_cast<float>(std::cos(degrees * kPi / 180.0));
    Mat4 r;
    // About one axis the matrix is written directly, as GL writes it.
    const int axis = x != 0.0f && y == 0.0f && z == 0.0f   ? 0
                     : x == 0.0f && y != 0.0f && z == 0.0f ? 1
                     : x == 0.0f && y == 0.0f && z != 0.0f ? 2
                                                           : -1;
    if (axis >= 0) {
        const float sign = (axis == 0 ? x : axis == 1 ? y : z) < 0.0f ? -1.0f : 1.0f;
        const int a = (axis + 1) % 3, b = (axis + 2) % 3; // the plane turned, right-handed
        at(r, a, a) = c;
        at(r, b, b) = c;
        at(r, b, a) = sign * s;
        at(r, a, b) = -sign * s;
        return r;
    }
    const float mag = std::sqrt(x * x + y * y + z * z);
    if (mag <= 1.0e-4f) return r;
    x /= mag, y /= mag, z /= mag;
    const float oneC = 1.0f - c;
    at(r, 0, 0) = oneC * x * x + c;
    at(r, 0, 1) = oneC * x * y - z * s;
    at(r, 0, 2) = oneC * z * x + y * s;
    at(r, 1, 0) = oneC * x * y + z * s;
    at(r, 1, 1) = oneC * y * y + c;
    at(r, 1, 2) = oneC * y * z - x * s;
    at(r, 2, 0) = oneC * z * x - y * s;
    at(r, 2, 1) = oneC * y * z + x * s;
    at(r, 2, 2) = oneC * z * z + c;
    return r;
}

Mat4 ortho(double left, double right, double bottom, double top, double nearZ, double farZ) {
    Mat4 r;
    r.m[0] = static_cast<float>(2.0 / (right - left));
    r.m[5] = static_cast<float>(2.0 / (top - bottom));
    r.m[10] = static_cast<float>(-2.0 / (farZ - nearZ));
    r.m[12] = static_cast<float>(-(right + left) / (right - left));
    r.m[13] = static_cast<float>(-(top + bottom) / (top - bottom));
    r.m[14] = static_cast<float>(-(farZ + nearZ) / (farZ - nearZ));
    return r;
}

Mat4 perspective(double fovyDegrees, double aspect, double nearZ, double farZ) {
    const double radians = fovyDegrees / 2.0 * kPi / 180.0;
    const double sine = std::sin(radians);
    const double depth = farZ - nearZ;
    Mat4 r;
    if (depth == 0.0 || sine == 0.0 || aspect == 0.0) return r; // as GLU: nothing applied
    const double cotangent = std::cos(radians) / sine;
    r.m[0] = static_cast<float>(cotangent / aspect);
    r.m[5] = static_cast<float>(cotangent);
    r.m[10] = static_cast<float>(-(farZ + nearZ) / depth);
    r.m[11] = -1.0f;
    r.m[14] = static_cast<float>(-2.0 * nearZ * farZ / depth);
    r.m[15] = 0.0f;
    return r;
}

Mat4 lookAt(const Vec3& eye, const Vec3& centre, const Vec3& upHint) {
    float forward[3] = {centre.x - eye.x, centre.y - eye.y, centre.z - eye.z};
    float up[3] = {upHint.x, upHint.y, upHint.z};
    float side[3];
    normalizeOrKeep(forward);
    crossInto(forward, up, side);
    normalizeOrKeep(side);
    crossInto(side, forward, up);
    Mat4 r;
    for (int i = 0; i < 3; ++i) {
        at(r, 0, i) = side[i];
        at(r, 1, i) = up[i];
        at(r, 2, i) = -forward[i];
    }
    return r * translation(-eye.x, -eye.y, -eye.z);
}

void normalMatrixOf(const Mat4& m, float out[9]) {
    const float a = m.m[0], b = m.m[4], c = m.m[8];
    const float d = m.m[1], e = m.m[5], f = m.m[9];
    const float g = m.m[2], h = m.m[6], k = m.m[10];
    // Cofactors: the inverse transpose is the cofactor matrix over the determinant.
    const float c00 = e * k - f * h, c01 = -(d * k - f * g), c02 = d * h - e * g;
    const float c10 = -(b * k - c * h), c11 = a * k - c * g, c12 = -(a * h - b * g);
    const float c20 = b * f - c * e, c21 = -(a * f - c * d), c22 = a * e - b * d;
    const float det = a * c00 + b * c01 + c * c02;
    const float inv = det != 0.0f ? 1.0f / det : 0.0f;
    // Column-major: column j holds row j of the cofactor matrix.
    out[0] = c00 * inv, out[1] = c10 * inv, out[2] = c20 * inv;
    out[3] = c01 * inv, out[4] = c11 * inv, out[5] = c21 * inv;
    out[6] = c02 * inv, out[7] = c12 * inv, out[8] = c22 * inv;
}
