#include "kelvo/core/Math.h"

#include <algorithm>
#include <utility>

SMatrix MatrixIdentity()
{
    SMatrix result;
    result.m[0] = result.m[5] = result.m[10] = result.m[15] = 1.0f;
    return result;
}

SMatrix MatrixTranslation(float x, float y, float z)
{
    SMatrix result = MatrixIdentity();
    result.m[12] = x;
    result.m[13] = y;
    result.m[14] = z;
    return result;
}

SMatrix MatrixScaling(float x, float y, float z)
{
    SMatrix result;
    result.m[0] = x;
    result.m[5] = y;
    result.m[10] = z;
    result.m[15] = 1.0f;
    return result;
}

SMatrix MatrixRotationX(float radians)
{
    const float c = std::cos(radians), s = std::sin(radians);
    SMatrix result = MatrixIdentity();
    result(1, 1) = c;
    result(1, 2) = s;
    result(2, 1) = -s;
    result(2, 2) = c;
    return result;
}

SMatrix MatrixRotationY(float radians)
{
    const float c = std::cos(radians), s = std::sin(radians);
    SMatrix result = MatrixIdentity();
    result(0, 0) = c;
    result(0, 2) = -s;
    result(2, 0) = s;
    result(2, 2) = c;
    return result;
}

SMatrix MatrixRotationZ(float radians)
{
    const float c = std::cos(radians), s = std::sin(radians);
    SMatrix result = MatrixIdentity();
    result(0, 0) = c;
    result(0, 1) = s;
    result(1, 0) = -s;
    result(1, 1) = c;
    return result;
}

SMatrix MatrixTranspose(const SMatrix& a)
{
    SMatrix result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            result(row, column) = a(column, row);
    return result;
}

SMatrix MatrixFrustum(float left, float right, float bottom, float top, float zNear, float zFar)
{
    SMatrix result;
    result.m[0] = 2.0f * zNear / (right - left);
    result.m[5] = 2.0f * zNear / (top - bottom);
    result.m[8] = -(right + left) / (right - left);
    result.m[9] = -(top + bottom) / (top - bottom);
    result.m[10] = -(zFar + zNear) / (zFar - zNear);
    result.m[11] = -1.0f;
    result.m[14] = -2.0f * zFar * zNear / (zFar - zNear);
    return result;
}

SMatrix operator*(const SMatrix& a, const SMatrix& b)
{
    SMatrix result;
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            result(row, column) = a(row, 0) * b(0, column) + a(row, 1) * b(1, column) +
                                  a(row, 2) * b(2, column) + a(row, 3) * b(3, column);
    return result;
}

bool MatrixInverse(const SMatrix& a, SMatrix& inverse)
{
    // Gauss-Jordan elimination with partial pivoting, in double precision.
    double work[4][8];
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
        {
            work[row][column] = a(row, column);
            work[row][column + 4] = row == column ? 1.0 : 0.0;
        }
    for (int column = 0; column < 4; ++column)
    {
        int pivot = column;
        for (int row = column + 1; row < 4; ++row)
            if (std::fabs(work[row][column]) > std::fabs(work[pivot][column]))
                pivot = row;
        if (std::fabs(work[pivot][column]) < 1e-12)
        {
            inverse = MatrixIdentity();
            return false;
        }
        if (pivot != column)
            for (int k = 0; k < 8; ++k)
                std::swap(work[pivot][k], work[column][k]);
        const double scale = 1.0 / work[column][column];
        for (int k = 0; k < 8; ++k)
            work[column][k] *= scale;
        for (int row = 0; row < 4; ++row)
        {
            if (row == column)
                continue;
            const double factor = work[row][column];
            for (int k = 0; k < 8; ++k)
                work[row][k] -= factor * work[column][k];
        }
    }
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            inverse(row, column) = static_cast<float>(work[row][column + 4]);
    return true;
}

SMatrix MatrixInverseAffine(const SMatrix& a)
{
    // Invert the upper 3x3 by cofactors, then move the translation back through it.
    const float c00 = a(1, 1) * a(2, 2) - a(1, 2) * a(2, 1);
    const float c01 = a(1, 2) * a(2, 0) - a(1, 0) * a(2, 2);
    const float c02 = a(1, 0) * a(2, 1) - a(1, 1) * a(2, 0);
    const float determinant = a(0, 0) * c00 + a(0, 1) * c01 + a(0, 2) * c02;
    const float k = determinant != 0.0f ? 1.0f / determinant : 0.0f;
    SMatrix result = MatrixIdentity();
    result(0, 0) = c00 * k;
    result(0, 1) = (a(0, 2) * a(2, 1) - a(0, 1) * a(2, 2)) * k;
    result(0, 2) = (a(0, 1) * a(1, 2) - a(0, 2) * a(1, 1)) * k;
    result(1, 0) = c01 * k;
    result(1, 1) = (a(0, 0) * a(2, 2) - a(0, 2) * a(2, 0)) * k;
    result(1, 2) = (a(0, 2) * a(1, 0) - a(0, 0) * a(1, 2)) * k;
    result(2, 0) = c02 * k;
    result(2, 1) = (a(0, 1) * a(2, 0) - a(0, 0) * a(2, 1)) * k;
    result(2, 2) = (a(0, 0) * a(1, 1) - a(0, 1) * a(1, 0)) * k;
    const SVector3 t = TransformNormal({a.m[12], a.m[13], a.m[14]}, result);
    result.m[12] = -t.x;
    result.m[13] = -t.y;
    result.m[14] = -t.z;
    return result;
}

SVector4 Transform(SVector4 v, const SMatrix& a)
{
    return {v.x * a(0, 0) + v.y * a(1, 0) + v.z * a(2, 0) + v.w * a(3, 0),
            v.x * a(0, 1) + v.y * a(1, 1) + v.z * a(2, 1) + v.w * a(3, 1),
            v.x * a(0, 2) + v.y * a(1, 2) + v.z * a(2, 2) + v.w * a(3, 2),
            v.x * a(0, 3) + v.y * a(1, 3) + v.z * a(2, 3) + v.w * a(3, 3)};
}

SVector3 TransformPoint(SVector3 p, const SMatrix& a)
{
    const SVector4 result = Transform(Point(p), a);
    return {result.x, result.y, result.z};
}

SVector3 TransformNormal(SVector3 n, const SMatrix& a)
{
    const SVector4 result = Transform({n.x, n.y, n.z, 0.0f}, a);
    return {result.x, result.y, result.z};
}

void ExtendBox(SBox& box, SVector4 point)
{
    // Plain comparisons rather than fmin/fmax: this runs for every box corner of every frame.
    box.min.x = point.x < box.min.x ? point.x : box.min.x;
    box.min.y = point.y < box.min.y ? point.y : box.min.y;
    box.min.z = point.z < box.min.z ? point.z : box.min.z;
    box.max.x = point.x > box.max.x ? point.x : box.max.x;
    box.max.y = point.y > box.max.y ? point.y : box.max.y;
    box.max.z = point.z > box.max.z ? point.z : box.max.z;
}

void MergeBox(SBox& box, const SBox& other)
{
    ExtendBox(box, other.min);
    ExtendBox(box, other.max);
}

bool BoxesOverlap(const SBox& a, const SBox& b)
{
    return a.min.x <= b.max.x && b.min.x <= a.max.x && a.min.y <= b.max.y && b.min.y <= a.max.y &&
           a.min.z <= b.max.z && b.min.z <= a.max.z;
}

float BoxOverlapVolume(const SBox& a, const SBox& b)
{
    const float x = std::min(a.max.x, b.max.x) - std::max(a.min.x, b.min.x);
    const float y = std::min(a.max.y, b.max.y) - std::max(a.min.y, b.min.y);
    const float z = std::min(a.max.z, b.max.z) - std::max(a.min.z, b.min.z);
    return x > 0.0f && y > 0.0f && z > 0.0f ? x * y * z : 0.0f;
}

bool BoxContainsStrictly(const SBox& box, SVector3 point)
{
    return point.x > box.min.x && point.x < box.max.x && point.y > box.min.y && point.y < box.max.y &&
           point.z > box.min.z && point.z < box.max.z;
}
