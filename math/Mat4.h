#pragma once
// Mat4: a 4 x 4 matrix in OpenGL's layout (column-major, element 4c + r is column c, row r) and
// the transforms the fixed-function pipeline builds in its matrix stack, made the same way:
// glTranslatef, glRotatef, glOrtho, gluPerspective, gluLookAt. The shader renderer keeps its
// matrices in these.

#include "math/Vec.h"

struct Mat4 {
    float m[16] = {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};

    float& operator[](int i) { return m[i]; }
    float operator[](int i) const { return m[i]; }

    static Mat4 fromColumns(const float* columnMajor) {
        Mat4 r;
        for (int i = 0; i < 16; ++i) r.m[i] = columnMajor[i];
        return r;
    }
};

// a * b: b's transform first, as glMultMatrix appends.
Mat4 operator*(const Mat4& a, const Mat4& b);

// (x, y, z, w) through the matrix.
Vec4 transform(const Mat4& m, const Vec4& v);

Mat4 translation(float x, float y, float z);
// glRotatef: degrees about the axis (x, y, z), which it normalizes.
Mat4 rotation(float degrees, float x, float y, float z);
Mat4 scaling(float x, float y, float z);
Mat4 ortho(double left, double right, double bottom, double top, double nearZ, double farZ);
Mat4 perspective(double fovyDegrees, double aspect, double nearZ, double farZ);
Mat4 lookAt(const Vec3& eye, const Vec3& centre, const Vec3& up);

// The matrix that carries normals: the inverse transpose of the upper-left 3 x 3 block,
// column-major in 9 floats. The block itself when it is a rotation.
void normalMatrixOf(const Mat4& m, float out[9]);
