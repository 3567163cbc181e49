// Vectors, matrices and boxes of the engine. Matrices are 4x4 floats in the row-vector
// convention: a point is a row vector multiplied on the left, so A * B applies A first,
// and the translation sits in the fourth row (elements 12, 13, 14). Rotations follow the
// left-handed convention the scenes were written in (positive angles turn y into z for
// RotationX, z into x for RotationY, x into y for RotationZ).
#pragma once

#include <cmath>

struct SVector3
{
    float x = 0.0f, y = 0.0f, z = 0.0f;
};

struct alignas(16) SVector4
{
    float x = 0.0f, y = 0.0f, z = 0.0f, w = 0.0f;
};

struct alignas(16) SMatrix
{
    float m[16] = {};

    float& operator()(int row, int column) { return m[row * 4 + column]; }
    float operator()(int row, int column) const { return m[row * 4 + column]; }
};

struct SBox
{
    SVector4 min;
    SVector4 max;
};

inline SVector3 operator+(SVector3 a, SVector3 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline SVector3 operator-(SVector3 a, SVector3 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline SVector3 operator*(SVector3 a, float s)
{
    return {a.x * s, a.y * s, a.z * s};
}
inline float Dot(SVector3 a, SVector3 b)
{
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline SVector3 Cross(SVector3 a, SVector3 b)
{
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline float Length(SVector3 a)
{
    return std::sqrt(Dot(a, a));
}
// The unit vector along a; the zero vector stays zero.
inline SVector3 Normalize(SVector3 a)
{
    const float length = Length(a);
    return length > 0.0f ? a * (1.0f / length) : a;
}

inline SVector4 operator+(SVector4 a, SVector4 b)
{
    return {a.x + b.x, a.y + b.y, a.z + b.z, a.w + b.w};
}
inline SVector4 operator-(SVector4 a, SVector4 b)
{
    return {a.x - b.x, a.y - b.y, a.z - b.z, a.w - b.w};
}
inline SVector4 operator*(SVector4 a, float s)
{
    return {a.x * s, a.y * s, a.z * s, a.w * s};
}
inline SVector3 XYZ(SVector4 a)
{
    return {a.x, a.y, a.z};
}
inline SVector4 Point(SVector3 a)
{
    return {a.x, a.y, a.z, 1.0f};
}

SMatrix MatrixIdentity();
SMatrix MatrixTranslation(float x, float y, float z);
SMatrix MatrixScaling(float x, float y, float z);
SMatrix MatrixRotationX(float radians);
SMatrix MatrixRotationY(float radians);
SMatrix MatrixRotationZ(float radians);
SMatrix MatrixTranspose(const SMatrix& a);
// Perspective projection of the frustum given at the near plane, looking along -z, depth
// mapped to -1 (near) ... 1 (far).
SMatrix MatrixFrustum(float left, float right, float bottom, float top, float zNear, float zFar);
SMatrix operator*(const SMatrix& a, const SMatrix& b);
// The inverse of any invertible matrix; false (and the identity) for a singular one.
bool MatrixInverse(const SMatrix& a, SMatrix& inverse);
// The inverse of a matrix whose fourth column is (0, 0, 0, 1): rotation, scale, translation.
SMatrix MatrixInverseAffine(const SMatrix& a);

// Row vector times matrix, all four components.
SVector4 Transform(SVector4 v, const SMatrix& a);
// A point (w = 1) through the matrix, without the division by w.
SVector3 TransformPoint(SVector3 p, const SMatrix& a);
// A direction through the upper 3x3 of the matrix (no translation).
SVector3 TransformNormal(SVector3 n, const SMatrix& a);

// Grows box to hold point (x, y, z; w untouched).
void ExtendBox(SBox& box, SVector4 point);
// Grows box to hold other (x, y, z).
void MergeBox(SBox& box, const SBox& other);
// True when the boxes overlap on every axis; touching counts.
bool BoxesOverlap(const SBox& a, const SBox& b);
// The volume of the intersection of the boxes; 0 when they are apart on some axis.
float BoxOverlapVolume(const SBox& a, const SBox& b);
// True when the point lies strictly inside the box on x, y and z.
bool BoxContainsStrictly(const SBox& box, SVector3 point);
