// The car scene without a usable cell file: the process ends with the file's message and
// exit code 1 (each case runs in a fresh process, so the registry holds only its own folder).
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

TEST(CarSceneDeathTest, UnusableCellFileEndsTheProcessWithItsMessage)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EXIT(LoadCarScene(""), testing::ExitedWithCode(1), "Cannot open the file: car7b.ppm");
    EXPECT_EXIT(LoadCarScene("P3\n# cut short\n4 4\n255\n1 1 1\n"), testing::ExitedWithCode(1),
                "car7b.ppm: missing sample \\(the file ends early\\): 3 of 48 samples read");
    std::filesystem::remove_all(TestFolder(getpid()));
}
