#include "platform/Semaphore.h"

#include <gtest/gtest.h>

TEST(CSemaphore, ReleaseBeyondMaximumIsLost)
{
    platform::CSemaphore semaphore(0, 1);
    EXPECT_TRUE(semaphore.Release());
    EXPECT_FALSE(semaphore.Release());
    EXPECT_EQ(semaphore.GetCount(), 1);
    semaphore.Wait();
    EXPECT_EQ(semaphore.GetCount(), 0);

    platform::CSemaphore four(0, 4);
    EXPECT_FALSE(four.Release(5));
    EXPECT_TRUE(four.Release(3));
    EXPECT_FALSE(four.Release(2));
    EXPECT_EQ(four.GetCount(), 3);
}
