#include "kelvo/tasks/TaskManager.h"
#include "kelvo/tasks/Thread.h"

#include <cstdio>
#include <semaphore>
#include <sys/resource.h>
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

class CIdleThread : public CThread
{
protected:
    uint32_t Run() override { return 0; }
};

// Limits the address space to what the process uses now plus a little, so that no new
// thread stack can be mapped.
void LeaveNoRoomForThreadStacks()
{
    long pages = 0;
    if (FILE* statm = std::fopen("/proc/self/statm", "r"))
    {
        if (std::fscanf(statm, "%ld", &pages) != 1)
            pages = 0;
        std::fclose(statm);
    }
    const rlim_t limit = static_cast<rlim_t>(pages) * static_cast<rlim_t>(sysconf(_SC_PAGESIZE)) + (1 << 20);
    const rlimit addressSpace{limit, limit};
    setrlimit(RLIMIT_AS, &addressSpace);
}

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
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
            CIdleThread thread;
            const bool started = thread.Start();
            _exit(!started && !thread.IsRunning() ? 0 : 1);
        },
        testing::ExitedWithCode(0), "");
    // A manager whose workers cannot be created logs it and still shuts down.
    EXPECT_EXIT(
        {
            LeaveNoRoomForThreadStacks();
            {
                CTaskManager manager(2);
            }
            _exit(0);
        },
        testing::ExitedWithCode(0), "Failed to start a worker thread");
}
