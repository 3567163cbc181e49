#include "kelvo/render/BicubicRows.h"

#include <algorithm>
#include <cmath>

SBicubicRows BicubicRowsInView(float y, float height, uint32_t extentHeight)
{
    const float top = std::max(y, 0.0f);
    const float bottom = std::min(y + height, 1.0f);
    if (!(height > 0.0f) || !(bottom > top) || extentHeight == 0)
        return {};
    // A sample at v lies between rows floor(v * extent - 0.5) and the one after; the filter
    // reaches one row above and two below. One more row each side absorbs rounding.
    const auto extent = static_cast<double>(extentHeight);
    const double first = std::floor((top - y) / static_cast<double>(height) * extent - 0.5) - 2.0;
    const double last = std::floor((bottom - y) / static_cast<double>(height) * extent - 0.5) + 3.0;
    const double maxRow = extent - 1.0;
    const auto clampedFirst = static_cast<int32_t>(std::clamp(first, 0.0, maxRow));
    const auto clampedLast = static_cast<int32_t>(std::clamp(last, 0.0, maxRow));
    return {clampedFirst, clampedLast - clampedFirst + 1};
}
