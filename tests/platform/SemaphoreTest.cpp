#include "platform/Semaphore.h"

#include <atomic>
#include <thread>
#include <vector>

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

TEST(CSemaphore, WakesEveryWaiterOnce)
{
    platform::CSemaphore semaphore(0, 4);
    std::atomic<int> woken{0};
    std::vector<std::thread> waiters;
    for (int i = 0; i < 4; ++i)
        waiters.emplace_back([&] {
            semaphore.Wait();
            ++woken;
        });
    for (int i = 0; i < 4; ++i)
        while (!semaphore.Release())
            std::this_thread::yield();
    for (auto& waiter : waiters)
        waiter.join();
    EXPECT_EQ(woken.load(), 4);
    EXPECT_EQ(semaphore.GetCount(), 0);
}
