// Frames drawn through the concrete processes on the 320 x 240 test window.
#include "RenderTestBase.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/BilboardRenderProcess.h"
#include "kelvo/render/BilboardsPhase.h"
#include "kelvo/render/ClipartPhase.h"
#include "kelvo/render/GameRenderProcess.h"
#include "kelvo/render/GameView.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/LoaderRenderProcess.h"
#include "kelvo/render/PresentPhase.h"
#include "kelvo/render/RtBallsRenderProcess.h"

#include <algorithm>
#include <tuple>
#include <memory>

namespace
{
constexpr uint32_t kBlack = 0xFF000000;
constexpr uint32_t kWhite = 0xFFFFFFFF;
// What the ray-tracing phase shows without a traced picture.
constexpr uint32_t kSky = 0xFFBBBBFF;

using RenderProcessesTest = RendererTestBase;

// Counts the world passes the game render phase asks for.
class CCountingGameView final : public IGameView
{
public:
    CCountingGameView() { g_pGameView = this; }
    ~CCountingGameView() { g_pGameView = nullptr; }
    void Render() override { ++m_Renders; }
    CGameObject* GetCameraObject() const override { return nullptr; }
    int m_Renders = 0;
};
}

TEST_F(RenderProcessesTest, BilboardPutsThePictureOnItsRectangleUnderTheLogo)
{
    CBilboardRenderProcess process;
    CBilboardsPhase* bilboard = process.GetBilboardsPhase();
    ASSERT_TRUE(bilboard->SetTexture(0, true, "quadrants.png"));
    bilboard->m_Rectangle = {0.5f, 0.5f, 0.25f, 0.5f};
    DrawFrame(&process);

    // Quadrant centres of the rectangle show the picture's texels (top row red, green).
    const float u[2] = {0.5f + 0.0625f, 0.5f + 0.1875f};
    const float v[2] = {0.5f + 0.125f, 0.5f + 0.375f};
    for (int row = 0; row < 2; ++row)
        for (int column = 0; column < 2; ++column)
            EXPECT_TRUE(IsNearColor(PixelAt(u[column], v[row]), kQuadrantColors[2 * row + column], 12))
                << row << "," << column;
    // Outside the rectangle the frame stays cleared.
    for (auto [x, y] : {std::pair{0.25f, 0.75f}, std::pair{0.9f, 0.75f}, std::pair{0.6f, 0.4f}})
        EXPECT_TRUE(IsNearColor(PixelAt(x, y), kBlack)) << x << "," << y;
    // The logo, opaque in its own colour, in the top-left corner: 0.3 x aspect wide, 0.0834 high.
    EXPECT_TRUE(IsNearColor(Pixel(4, 4), kLogoColor, 12));
    EXPECT_TRUE(IsNearColor(Pixel(70, 18), kLogoColor, 12));
    EXPECT_TRUE(IsNearColor(Pixel(76, 10), kBlack));
    EXPECT_TRUE(IsNearColor(Pixel(30, 23), kBlack));
}

TEST_F(RenderProcessesTest, OverlayCoversMoreAsItsAmountGrows)
{
    CBilboardRenderProcess process;
    process.GetBilboardsPhase()->m_Technique = "bilboard_color";
    const SVector4 red{1.0f, 0.0f, 0.0f, 0.5f};
    // Amount 0: no overlay; 0.25: an eighth of red over white; 1: all red.
    const std::pair<float, uint32_t> cases[] = {{0.0f, kWhite}, {0.25f, 0xFFFFDFDF}, {1.0f, 0xFFFF0000}};
    for (const auto& [amount, expected] : cases)
    {
        process.GetPresentPhase()->SetOverlay(red, amount);
        DrawFrame(&process);
        EXPECT_TRUE(IsNearColor(PixelAt(0.5f, 0.5f), expected, 3)) << "amount " << amount;
        EXPECT_TRUE(IsNearColor(PixelAt(0.95f, 0.95f), expected, 3)) << "amount " << amount;
    }
}

TEST_F(RenderProcessesTest, LoaderShowsFrameInsideAndBarAtHalfProgress)
{
    CLoaderRenderProcess process;
    const SVector4 inner = process.GetInnerPhase()->m_Rectangle;
    SVector4& bar = process.GetBarPhase()->m_Rectangle;
    bar.z = 0.5f * (inner.z - 0.02f);
    DrawFrame(&process);

    // Across the middle row (y = 120): outside, frame, inside, bar up to x = 0.5, inside, frame.
    const std::pair<uint32_t, uint32_t> row[] = {{20, kBlack},  {33, kWhite},  {36, kBlack},
                                                 {45, kWhite},  {150, kWhite}, {170, kBlack},
                                                 {280, kBlack}, {286, kWhite}, {300, kBlack}};
    for (const auto& [x, expected] : row)
        EXPECT_TRUE(IsNearColor(Pixel(x, 120), expected)) << "x " << x;
    // Above the bar but within the frame's top edge, and between edge and bar.
    EXPECT_TRUE(IsNearColor(Pixel(170, 109), kWhite));
    EXPECT_TRUE(IsNearColor(Pixel(100, 111), kBlack));
}

TEST_F(RenderProcessesTest, ClipartDrawsEachQueuedItemOnceWithItsOwnPictures)
{
    CRtBallsRenderProcess process;
    CClipartPhase* clipart = process.GetClipartPhase();
    clipart->AddClipart({{0.5f, 0.25f, 0.25f, 0.5f}, "yellow.png", "left_half.png"});
    clipart->AddClipart({{0.0f, 0.5f, 0.25f, 0.25f}, "quadrants.png", "left_half.png"});
    DrawFrame(&process);
    EXPECT_TRUE(clipart->GetItems().empty());
    // First item: yellow on its left half, the sky on its right half. Second item: the left
    // column of the quadrants (red above blue) at the texel centres, the sky on its right.
    const std::tuple<float, float, uint32_t> expected[] = {{0.53f, 0.5f, 0xFFFFFF00},
                                                           {0.72f, 0.5f, kSky},
                                                           {0.0625f, 0.5625f, kQuadrantColors[0]},
                                                           {0.0625f, 0.6875f, kQuadrantColors[2]},
                                                           {0.1875f, 0.5625f, kSky}};
    for (const auto& [u, v, color] : expected)
        EXPECT_TRUE(IsNearColor(PixelAt(u, v), color, 12)) << u << "," << v;

    // Nothing survives into the next frame.
    DrawFrame(&process);
    EXPECT_TRUE(IsNearColor(PixelAt(0.53f, 0.5f), kSky));
    EXPECT_TRUE(IsNearColor(PixelAt(0.0625f, 0.5625f), kSky));
}

TEST_F(RenderProcessesTest, RayTracerPhaseShowsTheTracedPictureOrTheSkyOverTheWholeFrame)
{
    // A 2 x 2 stand-in for the tracer's picture: red, green / blue, white.
    GPUObjectHandle traced;
    ASSERT_EQ(m_Backend->CreateTexture("soft_raytracer_rt", 2, 2, 1, 1, false, traced), 0u);
    auto* texture = GPUResourceCast<IGPUTexture>(m_Backend->GetResource(traced));
    ASSERT_EQ(texture->WritePixels(0, 0, 2, 2, kQuadrantColors, 8), 0u);
    CRtBallsRenderProcess process;
    DrawFrame(&process);
    // Bicubic filtering passes through the texel centres exactly.
    const float centres[4][2] = {{0.25f, 0.25f}, {0.75f, 0.25f}, {0.25f, 0.75f}, {0.75f, 0.75f}};
    for (int i = 0; i < 4; ++i)
        EXPECT_TRUE(IsNearColor(PixelAt(centres[i][0], centres[i][1]), kQuadrantColors[i], 12)) << i;
    // Between red and green the filter blends them.
    const uint32_t between = PixelAt(0.5f, 0.25f);
    EXPECT_GT((between >> 16) & 0xFF, 0x40u) << ColorText(between);
    EXPECT_GT((between >> 8) & 0xFF, 0x40u) << ColorText(between);
    m_Backend->ReleaseResource(&traced);

    // Without a traced picture the whole frame takes the sky's horizon colour.
    DrawFrame(&process);
    for (const float u : {0.25f, 0.75f})
        EXPECT_TRUE(IsNearColor(PixelAt(u, 0.75f), kSky));
}

TEST_F(RenderProcessesTest, GameProcessRunsTheWorldPassOnTheSceneTargetsEachFrame)
{
    CCountingGameView game;
    CGameRenderProcess process;
    ASSERT_NE(process.GetPresentPhase(), nullptr);
    const int swaps = m_Window->m_SwapCount;
    DrawFrame(&process);
    DrawFrame(&process);
    EXPECT_EQ(game.m_Renders, 2);
    EXPECT_EQ(m_Window->m_SwapCount, swaps + 2);
    // The scene pass cleared the ray-tracer input to -1, and the logo drawn over the corner
    // left it so.
    const std::vector<float> input = ReadFloats(m_Renderer->GetRayTracerInputBuffer());
    ASSERT_FALSE(input.empty());
    EXPECT_EQ(std::count(input.begin(), input.end(), -1.0f), static_cast<std::ptrdiff_t>(input.size()));
}
