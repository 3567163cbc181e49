#include "kelvo/gpu/FitInside.h"

#include <gtest/gtest.h>

#include <cmath>

// Over a spread of sizes and bounds: the result fits, keeps the shape within a pixel's
// rounding, is the size itself when that fits, and touches the bound when it does not.
TEST(FitInsideTest, FitsKeepsShapeAndOnlyShrinks)
{
    const uint32_t lengths[] = {1, 7, 480, 720, 768, 1024, 1080, 1366, 1440, 1920, 2560, 3840, 7680};
    for (uint32_t w : lengths)
        for (uint32_t h : lengths)
            for (const SPixelSize bound : {SPixelSize{1920, 1080}, SPixelSize{320, 240}, SPixelSize{1, 1}})
            {
                const SPixelSize fit = FitInside({w, h}, bound);
                SCOPED_TRACE(testing::Message()
                             << w << "x" << h << " in " << bound.m_Width << "x" << bound.m_Height << " -> "
                             << fit.m_Width << "x" << fit.m_Height);
                ASSERT_GE(fit.m_Width, 1u);
                ASSERT_GE(fit.m_Height, 1u);
                EXPECT_LE(fit.m_Width, bound.m_Width);
                EXPECT_LE(fit.m_Height, bound.m_Height);
                if (w <= bound.m_Width && h <= bound.m_Height)
                {
                    EXPECT_EQ(fit, (SPixelSize{w, h}));
                    continue;
                }
                EXPECT_TRUE(fit.m_Width == bound.m_Width || fit.m_Height == bound.m_Height);
                // Shape within rounding: each side off by at most one pixel of the other's scale.
                const double scale = std::min(double(bound.m_Width) / w, double(bound.m_Height) / h);
                EXPECT_LE(std::abs(fit.m_Width - w * scale), 1.0);
                EXPECT_LE(std::abs(fit.m_Height - h * scale), 1.0);
            }
    EXPECT_EQ(FitInside({0, 1080}, {1920, 1080}), SPixelSize{});
}
