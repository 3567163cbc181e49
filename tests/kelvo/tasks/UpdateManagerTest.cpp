#include "kelvo/tasks/UpdateManager.h"

#include "kelvo/core/LogicUpdate.h"
#include "kelvo/tasks/TaskManager.h"

#include <vector>

#include <gtest/gtest.h>

namespace
{
// Plain counters: an update run twice at once is a data race the thread sanitizer reports.
class CCountingObject final : public ILogicUpdate
{
public:
    void Update(uint32_t logicKind) override
    {
        ++m_Updates;
        m_LastKind = logicKind;
    }
    int m_Updates = 0;
    uint32_t m_LastKind = 0;
};

// Built in the program's order: the update manager first, with a pointer to the task
// manager built after it; the task manager (and its workers) go first at the end.
struct SManagers
{
    CUpdateManager m_Updates{&m_Tasks};
    CTaskManager m_Tasks{4};
};
}

TEST(UpdateManager, RunsEveryAddedUpdateExactlyOncePerCycle)
{
    constexpr int kObjects = 2000;
    constexpr uint32_t kCycles = 6;
    SManagers managers;
    std::vector<CCountingObject> objects(kObjects);
    managers.m_Updates.Wait(); // nothing added: returns at once
    for (uint32_t cycle = 0; cycle < kCycles; ++cycle)
    {
        // The tasks start consuming while the rest is still being added.
        for (auto& object : objects)
            managers.m_Updates.Add(&object, 100 + cycle);
        EXPECT_TRUE(managers.m_Updates.IsStarted());
        managers.m_Updates.Wait();
        EXPECT_FALSE(managers.m_Updates.IsStarted());
        EXPECT_FALSE(managers.m_Updates.ProcessOne()); // nothing left behind
        for (int i = 0; i < kObjects; ++i)
        {
            ASSERT_EQ(objects[static_cast<std::size_t>(i)].m_Updates, static_cast<int>(cycle + 1))
                << "object " << i;
            ASSERT_EQ(objects[static_cast<std::size_t>(i)].m_LastKind, 100 + cycle) << "object " << i;
        }
    }
    managers.m_Updates.Wait(); // the last cycle has ended: nothing to wait for
    // The update tasks have left the group.
    EXPECT_TRUE(managers.m_Tasks.WaitGroup(nullptr, "Default"));
}
