#include "../render/RenderTestBase.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/physics/PhysicsModel.h"
#include "kelvo/physics/PressureEngine.h"

#include <memory>
#include <set>

namespace
{
class CCountingModel : public IPhysicsModel
{
public:
    void Step() override { ++m_Steps; }
    int m_Steps = 0;
};

using PressureEngineTest = RenderTestBase;

uint32_t Edge(IGPUTexture* texture)
{
    uint32_t width = 0, height = 0, levels = 0, format = 0;
    texture->GetDesc(width, height, levels, format);
    return width;
}
}

TEST_F(PressureEngineTest, StartUpCreatesEveryTextureAndTask)
{
    std::string log;
    std::unique_ptr<CPressureEngine> engine;
    log = CaptureStderr([&] { engine = std::make_unique<CPressureEngine>(); });
    EXPECT_EQ(log.find("[CPressureEngine"), std::string::npos) << log;
    EXPECT_EQ(g_pPressureEngine, engine.get());

    for (uint32_t i = 0; i < CPressureEngine::kNamedTextureCount; ++i)
    {
        const auto index = static_cast<CPressureEngine::ENamedTexture>(i);
        ASSERT_NE(engine->GetNamedTexture(index), nullptr) << CPressureEngine::GetNamedTextureName(index);
        const GPUObjectHandle* found = m_Backend->FindByName(CPressureEngine::GetNamedTextureName(index), kGPUObjectTexture);
        ASSERT_NE(found, nullptr);
        m_Backend->ReleaseResource(found);
    }
    for (uint32_t i = 0; i < CPressureEngine::kVertexTextureCount; ++i)
        ASSERT_NE(engine->GetVertexTexture(static_cast<CPressureEngine::EVertexTexture>(i)), nullptr);
    for (uint32_t i = 0; i < CPressureEngine::kSumTargetCount; ++i)
    {
        ASSERT_NE(engine->GetSumTarget(i), nullptr);
        EXPECT_EQ(Edge(engine->GetSumTarget(i)), 1u << i);
    }
    ASSERT_NE(engine->GetPressures(), nullptr);
    EXPECT_EQ(Edge(engine->GetPressures()), 128u);

    // Every task has its effect and a target of its own.
    std::set<IGPUTexture*> outputs;
    for (uint32_t i = 0; i < CPressureEngine::kTaskCount; ++i)
    {
        const CPixelTaskDesc& task = engine->GetTask(static_cast<CPressureEngine::ETask>(i));
        EXPECT_EQ(task.GetTargetCount(), 1u) << i;
        EXPECT_EQ(task.GetFormat(), 4u) << i;
        outputs.insert(task.GetOutput(0));
    }
    EXPECT_EQ(outputs.size(), static_cast<std::size_t>(CPressureEngine::kTaskCount));
    EXPECT_EQ(engine->GetTask(CPressureEngine::kTaskTriangleCollision).GetSize(), 64u);
    EXPECT_EQ(engine->GetTask(CPressureEngine::kTaskSumVolume).GetSize(), 1u);

    engine.reset();
    EXPECT_EQ(g_pPressureEngine, nullptr);
    EXPECT_EQ(m_Backend->FindByName("pressure_engine_triangles", kGPUObjectTexture), nullptr);
    EXPECT_EQ(m_Backend->FindByName("pressure_engine_sum_tex_512", kGPUObjectTexture), nullptr);
}

TEST_F(PressureEngineTest, ModelsAreListedAsOftenAsAddedAndStepOnlyWhenListed)
{
    CPressureEngine engine;
    CCountingModel model;
    EXPECT_EQ(CaptureStderr([&] { engine.Update(); }), "");
    EXPECT_TRUE(engine.Render());

    engine.AddModel(&model);
    engine.AddModel(&model);
    EXPECT_EQ(engine.GetModelCount(), 2u);
    EXPECT_TRUE(engine.IsRebuildPending());
    engine.Update();
    EXPECT_EQ(model.m_Steps, 2);
    engine.RemoveModel(&model);
    EXPECT_EQ(engine.GetModelCount(), 1u);
    CCountingModel other;
    engine.RemoveModel(&other);
    EXPECT_EQ(engine.GetModelCount(), 1u);
    engine.RemoveModel(&model);
    engine.Update();
    EXPECT_EQ(model.m_Steps, 2);
}
