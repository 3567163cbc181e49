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
}

TEST_F(PressureEngineTest, StartUpCreatesEveryTextureAndTaskAndDestructionReleasesThem)
{
    std::string log;
    std::unique_ptr<CPressureEngine> engine;
    log = CaptureStderr([&] { engine = std::make_unique<CPressureEngine>(); });
    EXPECT_EQ(log.find("[CPressureEngine"), std::string::npos) << log;
    EXPECT_EQ(g_pPressureEngine, engine.get());
    // Every task has its effect and a target of its own.
    std::set<IGPUTexture*> outputs;
    for (uint32_t i = 0; i < CPressureEngine::kTaskCount; ++i)
        outputs.insert(engine->GetTask(static_cast<CPressureEngine::ETask>(i)).GetOutput(0));
    EXPECT_EQ(outputs.size(), static_cast<std::size_t>(CPressureEngine::kTaskCount));
    EXPECT_EQ(outputs.count(nullptr), 0u);

    engine.reset();
    EXPECT_EQ(g_pPressureEngine, nullptr);
    for (uint32_t i = 0; i < CPressureEngine::kNamedTextureCount; ++i)
    {
        const auto index = static_cast<CPressureEngine::ENamedTexture>(i);
        EXPECT_EQ(m_Backend->FindByName(CPressureEngine::GetNamedTextureName(index), kGPUObjectTexture),
                  nullptr);
    }
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
