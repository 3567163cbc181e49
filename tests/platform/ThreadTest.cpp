#include "platform/Thread.h"

#include "support/AddressSpaceLimit.h"

#include <semaphore>
#include <unistd.h>

#include <gtest/gtest.h>

namespace
{
// Runs until released and exits with the code it was given.
class CGatedThread : public CThread
{
public:
    explicit CGatedThread(uint32_t exitCode)
        : m_ExitCode(exitCode)
    {
    }
    std::binary_semaphore m_Entered{0};
    std::binary_semaphore m_Release{0};

protected:
    uint32_t Run() override
    {
        m_Entered.release();
        m_Release.acquire();
        return m_ExitCode;
    }

private:
    uint32_t m_ExitCode;
};
}

TEST(Thread, StartRunsTheBodyOnceUntilJoined)
{
    CGatedThread thread(7);
    EXPECT_FALSE(thread.IsRunning());
    ASSERT_TRUE(thread.Start());
    thread.m_Entered.acquire();
    EXPECT_TRUE(thread.IsRunning());
    EXPECT_FALSE(thread.Start()); // already running
    thread.m_Release.release();
    EXPECT_EQ(thread.Join(), 7u);
    EXPECT_FALSE(thread.IsRunning());
    EXPECT_EQ(thread.Join(), 0u); // nothing left to wait for

    // A joined thread object can run again.
    ASSERT_TRUE(thread.Start());
    thread.m_Entered.acquire();
    thread.m_Release.release();
    EXPECT_EQ(thread.Join(), 7u);
}

// The sanitizers' own thread bookkeeping does not survive an exhausted address space.
TEST(ThreadDeathTest, FailedThreadCreationIsReported)
{
    if (kSanitized)
        GTEST_SKIP() << "needs an address-space limit the sanitizers cannot run under";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(
        {
            LeaveNoRoomForThreadStacks();
            CGatedThread thread(0); // never entered: it does not start
            const bool started = thread.Start();
            _exit(!started && !thread.IsRunning() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
}
