#include "kelvo/world/CoarsePosition.h"

namespace
{
SCoarseAxis Difference(const SCoarseAxis& a, const SCoarseAxis& b)
{
    SCoarseAxis result{a.offset - b.offset, a.cell - b.cell};
    result.Normalize();
    return result;
}
}

void SCoarseAxis::Normalize()
{
    const int32_t wholeCells = static_cast<int32_t>(offset / kCellSize);
    cell += wholeCells;
    offset -= wholeCells * kCellSize;
}

SCoarsePosition SCoarsePosition::operator-(const SCoarsePosition& other) const
{
    return {Difference(x, other.x), Difference(y, other.y), Difference(z, other.z)};
}

SVector3 SCoarsePosition::ToVector() const
{
    return {static_cast<float>(x.ToDouble()), static_cast<float>(y.ToDouble()),
            static_cast<float>(z.ToDouble())};
}
