// The car scene's frames against the steps on a worker, its camera script, and the end of
// the process when the cell file cannot be used.
#include "brovell/scenes/CarScene.h"

#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/tasks/TaskManager.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace
{
// The folder of the test process, whose children run the cases.
std::filesystem::path TestFolder(pid_t testProcess)
{
    return std::filesystem::temp_directory_path() / ("car_scene_test_" + std::to_string(testProcess));
}

void LoadCarScene(const std::string& cellFileText)
{
    const std::filesystem::path folder = TestFolder(getppid()) / std::to_string(getpid());
    std::filesystem::create_directories(folder);
    if (!cellFileText.empty())
        std::ofstream(folder / "car7b.ppm") << cellFileText;
    CResourceManager::Instance().ScanDirectory(folder.string());
    CTaskManager tasks(1);
    CCarScene scene(tasks);
    scene.LoadResources();
}
}

TEST(CarScene, FramesTakeTheFinishedStepAndFollowTheCameraScript)
{
    CResourceManager::Instance().ScanDirectory(BROVELL_DATA_DIR);
    CTaskManager tasks(2);
    CCarScene scene(tasks);
    scene.LoadResources();
    SMatrix camera;
    // The side view, then the crane: the second key moved by (20, -1.6 per second, 0).
    for (int frame = 0; frame < 30; ++frame)
        scene.Frame(0.1f * static_cast<float>(frame));
    ASSERT_TRUE(scene.GetCameraMatrix(camera));
    EXPECT_FLOAT_EQ(camera.m[12], -19.1698f);
    EXPECT_FLOAT_EQ(camera.m[2], 0.988592f); // the key's rows are the matrix's columns
    for (int frame = 0; frame < 30; ++frame)
        scene.Frame(7.0f + 0.1f * static_cast<float>(frame));
    ASSERT_TRUE(scene.GetCameraMatrix(camera));
    EXPECT_FLOAT_EQ(camera.m[12], 7.33469f + 20.0f);
    EXPECT_NEAR(camera.m[13], 3.81688f - 1.6f * 3.9f, 1e-4f);
    tasks.WaitGroup(nullptr, "Default");
}

// Each case runs in a fresh process, so the registry holds only its own folder.
TEST(CarSceneDeathTest, UnusableCellFileEndsTheProcessWithItsMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadCarScene(""), testing::ExitedWithCode(1), "Cannot open the file: car7b.ppm");
    EXPECT_EXIT(LoadCarScene("P3\n# cut short\n4 4\n255\n1 1 1\n"), testing::ExitedWithCode(1),
                "car7b.ppm: missing sample \\(the file ends early\\): 3 of 48 samples read");
    std::filesystem::remove_all(TestFolder(getpid()));
}
