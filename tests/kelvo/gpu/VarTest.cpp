#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"

#include "support/CaptureStderr.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <string>

#include <gtest/gtest.h>

namespace
{
// A producer as the program writes them: the variable is looked up once per call site.
void ProduceNoise(float value)
{
    static CVar* const s_Noise = GetVariable("test_cached_noise", 4);
    s_Noise->SetFloat(value);
}
}

TEST(CVarManager, NewVariablesAreZeroAndSameSizeLookUpsKeepThem)
{
    // Variables live as long as the process: each run of the test takes a name of its own.
    static int s_Runs = 0;
    const std::string name = "test_new_color_" + std::to_string(++s_Runs);
    CVar* created = GetVariable(name, 16);
    ASSERT_NE(created, nullptr);
    EXPECT_EQ(created->GetSize(), 16u);
    EXPECT_EQ(std::count(created->GetData(), created->GetData() + 16, 0), 16);

    const std::array<float, 4> color{0.25f, 0.5f, 0.75f, 1.0f};
    created->SetVector(color);
    const std::string log = CaptureStderr([&] { EXPECT_EQ(GetVariable(name, 16), created); });
    EXPECT_EQ(log, "");
    EXPECT_EQ(std::memcmp(created->GetData(), color.data(), sizeof(color)), 0);
}

TEST(CVar, TypedSettersResizeSilentlyAndGettersRefuseOtherSizes)
{
    CVar* variable = GetVariable("test_typed", 16);
    std::array<float, 16> matrix{};
    for (size_t i = 0; i < matrix.size(); ++i)
        matrix[i] = static_cast<float>(i) + 0.5f;
    const std::string log = CaptureStderr([&] { variable->SetMatrix(matrix); });
    EXPECT_EQ(log, "");
    std::array<float, 16> readBack{};
    EXPECT_TRUE(variable->GetMatrix(readBack));
    EXPECT_EQ(readBack, matrix);

    // A getter of another size fails and leaves its output untouched.
    float single = -1.0f;
    EXPECT_FALSE(variable->GetFloat(single));
    EXPECT_EQ(single, -1.0f);
    variable->SetFloat(2.0f);
    EXPECT_FALSE(variable->GetMatrix(readBack));
    EXPECT_EQ(readBack, matrix);
    EXPECT_TRUE(variable->GetFloat(single));
    EXPECT_EQ(single, 2.0f);
}

TEST(CVarManager, CachedPointerSurvivesASizeChange)
{
    ProduceNoise(0.5f);
    CVar* noise = GetVariable("test_cached_noise", 4);
    float value = 0.0f;
    ASSERT_TRUE(noise->GetFloat(value));
    EXPECT_EQ(value, 0.5f);

    // Another user asks for the name with another size: the cached pointer stays valid,
    // is reset to zeros of the new size, and the producer's next write takes its own size back.
    const std::string log = CaptureStderr([&] { EXPECT_EQ(GetVariable("test_cached_noise", 16), noise); });
    EXPECT_EQ(log, "[CVarManager::GetVariable] Bad variable size! old: 4, new: 16!\n"
                   "[CVarManager::GetVariable] Variable size change is unsafe!\n");
    EXPECT_EQ(noise->GetSize(), 16u);
    EXPECT_EQ(std::count(noise->GetData(), noise->GetData() + 16, 0), 16);
    ProduceNoise(0.75f);
    ASSERT_TRUE(noise->GetFloat(value));
    EXPECT_EQ(value, 0.75f);
}

TEST(TechniqueSelection, TextsLiveInTheirVariablesAndSurviveSizeChecks)
{
    SetTechnique("d3d_material");
    SetPass("p0");
    EXPECT_EQ(GetTechnique(), "d3d_material");
    EXPECT_EQ(GetPass(), "p0");

    CVar* technique = GetVariable("r_technique", 1);
    CVar* pass = GetVariable("r_pass", 1);
    EXPECT_EQ(technique->GetText(), "d3d_material");
    EXPECT_EQ(pass->GetText(), "p0");

    // Even a size conflict keeps the text, and the selection still reads through it.
    CaptureStderr([] { GetVariable("r_pass", 4); });
    EXPECT_EQ(GetPass(), "p0");
    SetPass("p1");
    EXPECT_EQ(pass->GetText(), "p1");
    CaptureStderr([] { GetVariable("r_pass", 1); });
}
