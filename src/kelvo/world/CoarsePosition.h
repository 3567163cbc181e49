// A position far from the origin without losing float precision: per axis a cell index and
// an offset, the axis value being cell * 10 + offset.
#pragma once

#include <cstdint>

#include "kelvo/core/Math.h"

struct SCoarseAxis
{
    double offset = 0.0;
    int64_t cell = 0;

    double ToDouble() const { return static_cast<double>(cell) * kCellSize + offset; }
    // Moves whole cells out of the offset so that |offset| < 10.
    void Normalize();

    static constexpr double kCellSize = 10.0;
};

struct SCoarsePosition
{
    SCoarseAxis x, y, z;

    // This position minus other, axis by axis, normalised.
    SCoarsePosition operator-(const SCoarsePosition& other) const;
    SVector3 ToVector() const;
};
