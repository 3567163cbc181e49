#include "kelvo/render/BicubicRows.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

// Rectangles on, partly on and off the target, magnified or minified: every picture row the
// filter reads (clamped to the picture) for a target row inside the rectangle is in range,
// and the range is inside the picture and empty when the rectangle is off the target.
TEST(BicubicRows, HoldEveryRowTheFilterReadsForTheTargetRowsInView)
{
    std::mt19937 random(11);
    auto uniform = [&](float low, float high) {
        return std::uniform_real_distribution<float>(low, high)(random);
    };
    for (int trial = 0; trial < 2000; ++trial)
    {
        const float y = uniform(-3.0f, 2.0f), height = uniform(0.01f, 9.0f);
        const int extent = static_cast<int>(uniform(1.0f, 3000.0f)),
                  targetRows = static_cast<int>(uniform(2.0f, 1100.0f));
        const SBicubicRows rows = BicubicRowsInView(y, height, static_cast<uint32_t>(extent));
        ASSERT_TRUE(rows.m_First >= 0 && rows.m_First + rows.m_Count <= extent) << y << " " << height;
        EXPECT_TRUE((y < 1.0f && y + height > 0.0f) || rows.m_Count == 0) << y << " " << height;
        for (int targetRow = 0; targetRow < targetRows; ++targetRow)
        {
            const float v =
                ((static_cast<float>(targetRow) + 0.5f) / static_cast<float>(targetRows) - y) / height;
            const int corner = static_cast<int>(std::floor(v * static_cast<float>(extent) - 0.5f));
            for (int row = corner - 1; v >= 0.0f && v < 1.0f && row <= corner + 2; ++row)
                ASSERT_LT(static_cast<unsigned>(std::clamp(row, 0, extent - 1) - rows.m_First),
                          static_cast<unsigned>(rows.m_Count))
                    << y << " " << height;
        }
    }
}
