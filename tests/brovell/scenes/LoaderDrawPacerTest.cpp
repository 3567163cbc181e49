#include "brovell/scenes/LoaderDrawPacer.h"

#include <gtest/gtest.h>

TEST(LoaderDrawPacer, DrawsFirstThenOnlyAfterMoreThanTwentyMilliseconds)
{
    CLoaderDrawPacer pacer;
    EXPECT_TRUE(pacer.IsDrawDue(1000.0));
    EXPECT_FALSE(pacer.IsDrawDue(1005.0));
    EXPECT_FALSE(pacer.IsDrawDue(1020.0));
    EXPECT_TRUE(pacer.IsDrawDue(1020.5));
    // Skipped calls do not move the last drawing.
    EXPECT_FALSE(pacer.IsDrawDue(1030.0));
    EXPECT_TRUE(pacer.IsDrawDue(1041.0));
}

TEST(LoaderDrawPacer, BarGrowsWithProgressAndNeverPastTheBackground)
{
    EXPECT_EQ(LoaderBarWidth(0.0f), 0.0f);
    EXPECT_FLOAT_EQ(LoaderBarWidth(0.5f), 0.38f);
    EXPECT_FLOAT_EQ(LoaderBarWidth(1.0f), 0.76f);
    EXPECT_FLOAT_EQ(LoaderBarWidth(30.0f / 26.0f), 0.76f);
}
