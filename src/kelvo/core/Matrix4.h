// 4x4 float matrices in the row-vector convention: a point is a row vector multiplied from the
// left, so the translation sits in elements 12 to 14 and A * B applies A first, then B.
#pragma once

#include <cmath>

struct SMatrix4
{
    float m[16];

    static SMatrix4 Identity()
    {
        return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    }
    static SMatrix4 RotationX(float angle)
    {
        const float c = std::cos(angle), s = std::sin(angle);
        return {{1, 0, 0, 0, 0, c, s, 0, 0, -s, c, 0, 0, 0, 0, 1}};
    }
    static SMatrix4 RotationY(float angle)
    {
        const float c = std::cos(angle), s = std::sin(angle);
        return {{c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1}};
    }
    static SMatrix4 RotationZ(float angle)
    {
        const float c = std::cos(angle), s = std::sin(angle);
        return {{c, s, 0, 0, -s, c, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1}};
    }
    static SMatrix4 Translation(float x, float y, float z)
    {
        return {{1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, x, y, z, 1}};
    }

    // This transformation followed by next.
    SMatrix4 operator*(const SMatrix4& next) const
    {
        SMatrix4 product{};
        for (int row = 0; row < 4; ++row)
            for (int column = 0; column < 4; ++column)
                for (int k = 0; k < 4; ++k)
                    product.m[row * 4 + column] += m[row * 4 + k] * next.m[k * 4 + column];
        return product;
    }

    // The row vector v times this matrix.
    void TransformRow(const float v[4], float out[4]) const
    {
        for (int column = 0; column < 4; ++column)
            out[column] = v[0] * m[column] + v[1] * m[4 + column] + v[2] * m[8 + column] +
                          v[3] * m[12 + column];
    }
};
