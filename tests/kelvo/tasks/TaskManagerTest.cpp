#include "kelvo/tasks/TaskManager.h"

#include "kelvo/tasks/Task.h"
#include "kelvo/tasks/TaskManagerThread.h"
#include "support/AddressSpaceLimit.h"
#include "support/CaptureStderr.h"

#include <atomic>
#include <functional>
#include <latch>
#include <mutex>
#include <semaphore>
#include <stdexcept>
#include <thread>
#include <vector>

#include <gtest/gtest.h>

namespace
{
// A task that runs a function and counts its own destruction.
class CFunctionTask : public ITask
{
public:
    explicit CFunctionTask(std::function<void(ITask&)> body, std::atomic<int>* destroyedCount = nullptr)
        : m_Body(std::move(body))
        , m_DestroyedCount(destroyedCount)
    {
    }
    ~CFunctionTask() override
    {
        if (m_DestroyedCount)
            ++*m_DestroyedCount;
    }

    std::string GetName() const override { return "CFunctionTask"; }
    void Run() override { m_Body(*this); }

private:
    std::function<void(ITask&)> m_Body;
    std::atomic<int>* m_DestroyedCount;
};

constexpr const char* kTaskExceptionMessage = "[CTaskManager::RunOneTask] Task exception!\n";
}

TEST(TaskManager, ServesGroupsInAscendingPriorityEachInQueueOrder)
{
    // The only worker is held in "Default" while the tasks are queued.
    CTaskManager manager(1);
    std::latch blockerStarted(1);
    std::binary_semaphore gate(0);
    manager.AddTask(new CFunctionTask([&](ITask&) {
                        blockerStarted.count_down();
                        gate.acquire();
                    }),
                    "Default");
    blockerStarted.wait();

    // Created out of priority order; tasks queued interleaved across the groups.
    manager.CreateGroup("Low", 9);
    manager.CreateGroup("High", 1);
    manager.CreateGroup("Middle", 5);
    std::mutex orderMutex;
    std::vector<std::string> order;
    for (int i = 0; i < 3; ++i)
        for (const char* group : {"Low", "Middle", "High"})
        {
            const std::string label = std::string(group) + std::to_string(i);
            manager.AddTask(new CFunctionTask([&, label](ITask&) {
                                std::lock_guard lock(orderMutex);
                                order.push_back(label);
                            }),
                            group);
        }

    // Released, the worker takes the queued tasks one after another.
    gate.release();
    EXPECT_TRUE(manager.WaitGroup(nullptr, "Low"));
    EXPECT_TRUE(manager.WaitGroup(nullptr, "Middle"));
    EXPECT_TRUE(manager.WaitGroup(nullptr, "High"));
    EXPECT_TRUE(manager.WaitGroup(nullptr, "Default"));

    const std::vector<std::string> expected{"High0",   "High1", "High2", "Middle0", "Middle1",
                                            "Middle2", "Low0",  "Low1",  "Low2"};
    EXPECT_EQ(order, expected);
}

TEST(TaskManager, ThrowingTaskIsReportedOnceKeptAndItsGroupStillDrains)
{
    CTaskManager manager(4);
    manager.CreateGroup("Work", 2);
    std::atomic<int> destroyed{0};
    std::atomic<int> ran{0};
    auto* throwsInt = new CFunctionTask([](ITask&) { throw 42; }, &destroyed);
    auto* throwsError = new CFunctionTask([](ITask&) { throw std::runtime_error("broken"); }, &destroyed);

    bool waited = false;
    const std::string log = CaptureStderr([&] {
        manager.AddTask(throwsInt, "Work");
        for (int i = 0; i < 8; ++i)
            manager.AddTask(new CFunctionTask([&](ITask&) { ++ran; }), "Work");
        manager.AddTask(throwsError, "Work");
        waited = manager.WaitGroup(nullptr, "Work");
    });

    EXPECT_TRUE(waited);
    EXPECT_EQ(ran.load(), 8);
    EXPECT_EQ(log, std::string(kTaskExceptionMessage) + kTaskExceptionMessage);
    // A task that threw is left to its creator.
    EXPECT_EQ(destroyed.load(), 0);
    delete throwsInt;
    delete throwsError;
}

// A group that does not exist fails the wait and drops its tasks unrun (and undeleted);
// idle groups, fresh or drained, are waited on at once.
TEST(TaskManager, MissingGroupsFailTheWaitAndDropTheirTasks)
{
    std::atomic<int> ran{0};
    std::atomic<int> destroyed{0};
    CFunctionTask orphan([&](ITask&) { ran = 100; }, &destroyed);
    {
        CTaskManager manager(4);
        EXPECT_FALSE(manager.WaitGroup(nullptr, "Missing"));
        manager.AddTask(&orphan, "Missing");
        EXPECT_TRUE(manager.WaitGroup(nullptr, "Default"));
        EXPECT_TRUE(manager.WaitGroup(nullptr, "Default")); // with the idle semaphore left signalled
        // Creating the group later does not bring the task back.
        manager.CreateGroup("Missing", 3);
        EXPECT_TRUE(manager.WaitGroup(nullptr, "Missing"));
        manager.AddTask(new CFunctionTask([&](ITask&) { ++ran; }), "Missing");
        EXPECT_TRUE(manager.WaitGroup(nullptr, "Missing"));
        EXPECT_EQ(ran.load(), 1);
    }
    EXPECT_EQ(ran.load(), 1);
    EXPECT_EQ(destroyed.load(), 0);
}

// Every worker waits inside a task for its own group, whose tasks the others may be
// running: each wait must end when its group drains, whoever ran the last task. A single
// worker can only get there by running the queued tasks (the other outer ones included)
// inside its waits. Repeated, since a lost wake-up shows only in some interleavings (as a
// hang). Each inner task must run once (counted per group) and be deleted once (the
// sanitizers see to that).
TEST(TaskManager, WorkersWaitingForGroupsAllResume)
{
    constexpr int kRounds = 100;
    constexpr int kOuterTasks = 4;
    constexpr int kInnerTasks = 20;
    for (const int workers : {1, 4})
    {
        CTaskManager manager(workers);
        for (int outer = 0; outer < kOuterTasks; ++outer)
            manager.CreateGroup("Inner" + std::to_string(outer), 1);
        for (int round = 0; round < kRounds; ++round)
        {
            std::vector<std::atomic<int>> innerRuns(kOuterTasks);
            std::vector<int> runsWhenWaited(kOuterTasks, -1);
            for (int outer = 0; outer < kOuterTasks; ++outer)
                manager.AddTask(new CFunctionTask([&, outer](ITask& self) {
                                    const std::string group = "Inner" + std::to_string(outer);
                                    auto& runs = innerRuns[static_cast<std::size_t>(outer)];
                                    for (int i = 0; i < kInnerTasks; ++i)
                                        manager.AddTask(new CFunctionTask([&runs](ITask&) { ++runs; }),
                                                        group);
                                    EXPECT_TRUE(manager.WaitGroup(self.GetRunningThread(), group));
                                    runsWhenWaited[static_cast<std::size_t>(outer)] = runs;
                                }),
                                "Default");
            ASSERT_TRUE(manager.WaitGroup(nullptr, "Default"));
            ASSERT_EQ(runsWhenWaited, std::vector<int>(kOuterTasks, kInnerTasks))
                << workers << " workers, round " << round;
        }
    }
}

TEST(TaskManager, DestructionJoinsIdleWorkers)
{
    for (int round = 0; round < 20; ++round)
    {
        CTaskManager manager(4);
        if (round % 2)
        {
            manager.AddTask(new CFunctionTask([](ITask&) {}), "Default");
            EXPECT_TRUE(manager.WaitGroup(nullptr, "Default"));
        }
    }
}

// A worker busy at destruction finishes its task; queued tasks are not started, and those
// the manager owns are deleted.
TEST(TaskManager, DestructionStopsWorkersAndDeletesTasksThatNeverRan)
{
    std::atomic<int> ran{0};
    std::atomic<int> destroyed{0};
    std::latch blockerStarted(1);
    CFunctionTask blocker([&](ITask& self) {
        blockerStarted.count_down();
        CTaskManager* manager = self.GetRunningThread()->GetManager();
        while (manager->IsRunning())
            std::this_thread::yield();
    });
    blocker.SetDeleteAfterRun(false);
    CFunctionTask kept([&](ITask&) { ++ran; }, &destroyed);
    kept.SetDeleteAfterRun(false);
    {
        CTaskManager manager(1);
        manager.AddTask(&blocker, "Default");
        blockerStarted.wait();
        manager.AddTask(new CFunctionTask([&](ITask&) { ++ran; }, &destroyed), "Default");
        manager.AddTask(&kept, "Default");
    }
    EXPECT_EQ(ran.load(), 0);
    EXPECT_EQ(destroyed.load(), 1); // the owned task, not the kept one
}

// The sanitizers' own thread bookkeeping does not survive an exhausted address space.
TEST(TaskManagerDeathTest, FailedWorkerCreationIsLoggedAndShutdownStillWorks)
{
    if (kSanitized)
        GTEST_SKIP() << "needs an address-space limit the sanitizers cannot run under";
    GTEST_FLAG_SET(death_test_style, "threadsafe");
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
