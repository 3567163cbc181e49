#include "RenderTestBase.h"

#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/PixelTaskDesc.h"
#include "support/CaptureStderr.h"

#include <vector>

namespace
{
constexpr uint32_t kFloat4 = 4;

class PixelTaskDescTest : public RenderTestBase
{
protected:
    // A 4 x 4 float texture with value(i) in texel i.
    template <typename TValue>
    IGPUTexture* FloatTexture(TValue value)
    {
        GPUObjectHandle handle;
        auto* texture =
            Hold<IGPUTexture>(m_Backend->CreateTexture("", 4, 4, 1, kFloat4, false, handle), handle);
        if (texture == nullptr)
            return nullptr;
        float texels[16][4];
        for (int i = 0; i < 16; ++i)
            for (int c = 0; c < 4; ++c)
                texels[i][c] = value(i, c);
        EXPECT_EQ(texture->WritePixels(0, 0, 4, 4, texels, 4 * 16), 0u);
        return texture;
    }
};
}

TEST_F(PixelTaskDescTest, AddsTwoFloatTexturesTexelByTexelIntoEveryTarget)
{
    IGPUTexture* a = FloatTexture([](int i, int c) { return i * 1.5f + c; });
    IGPUTexture* b = FloatTexture([](int i, int c) { return 100.0f - i * 0.25f * c; });
    ASSERT_NE(a, nullptr);
    ASSERT_NE(b, nullptr);
    CPixelTaskDesc task;
    ASSERT_TRUE(task.SetEffect("pixel_add.e", "add_and_double", "P0"));
    ASSERT_TRUE(task.SetRTDesc(4, kFloat4, "", 2));
    task.SetInput(0, a);
    task.SetInput(1, b);
    task.Run();
    const std::vector<float> sums = ReadFloats(task.GetOutput(0));
    const std::vector<float> doubled = ReadFloats(task.GetOutput(1));
    ASSERT_EQ(sums.size(), 64u);
    ASSERT_EQ(doubled.size(), 64u);
    for (int i = 0; i < 16; ++i)
        for (int c = 0; c < 4; ++c)
        {
            const float sum = i * 1.5f + c + 100.0f - i * 0.25f * c;
            EXPECT_FLOAT_EQ(sums[4 * i + c], sum) << i << ":" << c;
            EXPECT_FLOAT_EQ(doubled[4 * i + c], 2.0f * sum) << i << ":" << c;
        }
    // The log reads every target back; elements past the last texel log zeros.
    const std::string log = CaptureStderr([&] { task.LogResult(17); });
    EXPECT_NE(log.find("] 0:1 Value = (200.000000, 202.000000, 204.000000, 206.000000)!"), std::string::npos);
    EXPECT_NE(log.find("] 16:1 Value = (0.000000, 0.000000, 0.000000, 0.000000)!"), std::string::npos);
}

TEST_F(PixelTaskDescTest, UnchangedDescriptionKeepsTargetsAnotherCountRecreatesThem)
{
    CPixelTaskDesc task;
    ASSERT_TRUE(task.SetRTDesc(8, kFloat4, "", 2));
    IGPUTexture* first = task.GetOutput(0);
    IGPUTexture* second = task.GetOutput(1);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    EXPECT_NE(first, second);
    // Same size, format and count with another name: nothing is created.
    ASSERT_TRUE(task.SetRTDesc(8, kFloat4, "a_new_name", 2));
    EXPECT_EQ(task.GetOutput(0), first);
    EXPECT_EQ(task.GetOutput(1), second);
    EXPECT_EQ(m_Backend->FindByName("a_new_name", kGPUObjectTexture), nullptr);

    ASSERT_TRUE(task.SetRTDesc(8, kFloat4, "", 3));
    EXPECT_EQ(task.GetTargetCount(), 3u);
    ASSERT_NE(task.GetOutput(2), nullptr);
    uint32_t width = 0, height = 0, levels = 0, format = 0;
    task.GetOutput(2)->GetDesc(width, height, levels, format);
    EXPECT_EQ(width, 8u);
    EXPECT_EQ(format, kFloat4);
}

TEST_F(PixelTaskDescTest, FailedTargetsLeaveNoDescriptionAndAreTriedAgain)
{
    CPixelTaskDesc task;
    GPUObjectHandle taken;
    // The name exists with another description, so the task cannot have it.
    ASSERT_EQ(m_Backend->CreateTexture("taken", 4, 4, 1, 1, true, taken), 0u);
    bool created = true;
    const std::string log = CaptureStderr([&] { created = task.SetRTDesc(8, kFloat4, "taken", 1); });
    EXPECT_FALSE(created);
    EXPECT_EQ(log, "[CPixelTaskDesc::SetRTDesc] Failed creating render target!\n");
    EXPECT_EQ(task.GetTargetCount(), 0u);
    EXPECT_EQ(task.GetSize(), 0u);
    m_Backend->ReleaseResource(&taken);
    EXPECT_TRUE(task.SetRTDesc(8, kFloat4, "taken", 1));
}

TEST_F(PixelTaskDescTest, WithoutAnEffectRunDoesNothingAndLogsNothing)
{
    CPixelTaskDesc task;
    EXPECT_FALSE(task.SetEffect("no_such_effect.e", "t", "P0"));
    IGPUTexture* a = FloatTexture([](int, int) { return 7.0f; });
    ASSERT_TRUE(task.SetRTDesc(4, kFloat4, "", 1));
    task.SetInput(0, a);
    const std::string log = CaptureStderr([&] { task.Run(); });
    EXPECT_EQ(log, "");
    EXPECT_EQ(ReadFloats(task.GetOutput(0)), std::vector<float>(64, 0.0f));
}
