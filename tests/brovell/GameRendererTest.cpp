#include "brovell/Game.h"
#include "brovell/tracer/KelvoRayTracer.h"

#include "support/CaptureStderr.h"
#include "kelvo/gpu/Var.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/physics/PressureEngineInterface.h"
#include "kelvo/render/KelvoRenderer.h"

#include <gtest/gtest.h>

// Renderers without a GPU backend: the game's wiring alone.
TEST(GameRenderer, FirstRendererBringsThePressureEngineLaterOnesReplaceIt)
{
    // The tracer client is set up with each renderer: its scale variables are set.
    CKelvoRayTracer client(nullptr);
    g_pKelvoRayTracer = &client;
    CVar* scaleX = GetVariable("r_rt_scale_x", 4);
    scaleX->SetFloat(0.0f);
    CGame game;
    ASSERT_EQ(g_pPressureEngine, nullptr);
    CaptureStderr([&] { game.SetRenderer(new CKelvoRenderer(nullptr, nullptr)); });
    IPressureEngine* engine = g_pPressureEngine;
    ASSERT_NE(engine, nullptr);
    EXPECT_EQ(game.GetRenderer()->GetRenderProcess(), &game.GetRenderProcess());
    float scale = 0.0f;
    ASSERT_TRUE(scaleX->GetFloat(scale));
    EXPECT_NEAR(scale, 1280.0f / 1920.0f, 1e-6f);
    g_pKelvoRayTracer = nullptr;

    auto* second = new CKelvoRenderer(nullptr, nullptr);
    CaptureStderr([&] { game.SetRenderer(second); });
    EXPECT_EQ(game.GetRenderer(), second);
    EXPECT_EQ(g_pKelvoRenderer, second);
    EXPECT_EQ(g_pPressureEngine, engine);
    EXPECT_EQ(second->GetRenderProcess(), &game.GetRenderProcess());

    game.Shutdown();
    EXPECT_EQ(game.GetRenderer(), nullptr);
    EXPECT_EQ(g_pKelvoRenderer, nullptr);
    EXPECT_EQ(g_pPressureEngine, nullptr);
    // Without a renderer these do nothing.
    game.Shutdown();
    game.Render();
    EXPECT_EQ(game.GetRenderer(), nullptr);
}
