#include "brovell/scenes/Scene.h"

#include "kelvo/tasks/TaskManager.h"

#include <gtest/gtest.h>

#include <atomic>

namespace
{
class CCountingScene : public CScene
{
public:
    void Frame(float) override {}
    void UpdateAsync() override { ++m_Updates; }

    std::atomic<int> m_Updates{0};
};
}

TEST(SceneTask, RunsTheScenesBackgroundWorkAndClearsItsPendingFlag)
{
    CTaskManager tasks(2);
    CCountingScene scene;
    SMatrix camera;
    EXPECT_FALSE(scene.GetCameraMatrix(camera));
    for (int round = 1; round <= 3; ++round)
    {
        scene.QueueTask(tasks);
        ASSERT_TRUE(tasks.WaitGroup(nullptr, "Default"));
        EXPECT_EQ(scene.m_Updates.load(), round);
        EXPECT_FALSE(scene.IsTaskPending());
    }
}
