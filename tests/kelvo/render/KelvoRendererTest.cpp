#include "RenderTestBase.h"

#include "support/OwningObject.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/core/GameObject.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/3DSpace.h"
#include "kelvo/world/CameraLogic.h"
#include "kelvo/world/PrimitiveObject.h"

#include <algorithm>
#include <memory>
#include <numbers>

namespace
{
constexpr uint32_t kBlack = 0xFF000000;

class KelvoRendererTest : public RendererTestBase
{
protected:
    // What draw puts on a black back buffer in one scene, read back.
    template <typename TDraw>
    void DrawInScene(TDraw draw)
    {
        m_Backend->SetDefaultRenderTarget();
        m_Backend->Clear(true, true);
        m_Backend->BeginScene();
        draw();
        m_Backend->EndScene();
        m_Backend->Present();
        ReadWindow();
    }
};

using SCameraRig = COwning<CGameObject>;
using SPrimitive = COwning<CPrimitiveObject>;

// A camera rig placed by world.
C3DObjectLogic* PlaceCamera(CGameObject& camera, const SMatrix& world)
{
    auto* place = camera.AddLogic<C3DObjectLogic>();
    camera.AddLogic<CCameraLogic>()->UpdateProjection(0.75f);
    STransformState state = place->GetTransformState();
    state.world = world;
    place->SetTransformState(state);
    return place;
}
}

TEST_F(KelvoRendererTest, SceneTargetsTakeTheBackBufferSizeAndCanBeClearedOneByOne)
{
    EXPECT_EQ(g_pKelvoRenderer, m_Renderer.get());
    uint32_t width = 0, height = 0, levels = 0, format = 0;
    ASSERT_NE(m_Renderer->GetColorBuffer(), nullptr);
    m_Renderer->GetColorBuffer()->GetDesc(width, height, levels, format);
    uint32_t backWidth = 0, backHeight = 0;
    ASSERT_TRUE(m_Backend->GetBackBufferSize(backWidth, backHeight));
    EXPECT_EQ(width, backWidth);
    EXPECT_EQ(height, backHeight);
    IGPUTexture* input = m_Renderer->GetRayTracerInputBuffer();
    ASSERT_NE(input, nullptr);
    // A frame without a process still presents.
    const int swaps = m_Window->m_SwapCount;
    m_Renderer->SetRenderProcess(nullptr);
    m_Renderer->RenderFrame();
    EXPECT_EQ(m_Window->m_SwapCount, swaps + 1);

    // A bound target is cleared alone, the others keep their colour; an unbound one refuses.
    const float white[4] = {1, 1, 1, 1}, five[4] = {5, 5, 5, 5};
    EXPECT_EQ(m_Backend->ClearRenderTarget(1, five), kGPUResultSetRenderTarget);
    ASSERT_EQ(input->SetRenderTarget(1), kGPUResultOk);
    ASSERT_EQ(m_Backend->ClearRenderTarget(0, white), kGPUResultOk);
    ASSERT_EQ(m_Backend->ClearRenderTarget(1, five), kGPUResultOk);
    const std::vector<float> texels = ReadFloats(input);
    EXPECT_EQ(std::count(texels.begin(), texels.end(), 5.0f), static_cast<std::ptrdiff_t>(texels.size()));
    m_Backend->Present();
    ReadWindow();
    EXPECT_EQ(CountDifferent(0, 0, GLTest::kWindowWidth, GLTest::kWindowHeight, 0xFFFFFFFFu), 0);

    // Destruction gives the targets back and unregisters the renderer.
    m_Renderer.reset();
    EXPECT_EQ(g_pKelvoRenderer, nullptr);
    EXPECT_EQ(m_Backend->FindByName("kelvo_color_buffer", kGPUObjectTexture), nullptr);
    EXPECT_EQ(m_Backend->FindByName("kelvo_rtinput_buffer", kGPUObjectTexture), nullptr);
    EXPECT_EQ(m_Backend->FindByName("kelvo_bicubic_rows", kGPUObjectTexture), nullptr);
}

// The traced picture goes through the two-pass filter; whatever share of it was traced (in
// units of a 1920 x 1080 screen, rounded to whole texels) and wherever a picture sits, it
// must come out as the one-pass filter draws it.
TEST_F(KelvoRendererTest, TracedImageThroughTwoPassesMatchesTheOnePassFilter)
{
    std::vector<float> texels(48 * 36 * 4);
    for (std::size_t i = 0; i < texels.size(); ++i)
        texels[i] = static_cast<float>(i * 37 % 101) / 100.0f;
    GPUObjectHandle handle;
    ASSERT_EQ(m_Backend->CreateTexture("soft_raytracer_rt", 48, 36, 1, 4, false, handle), kGPUResultOk);
    auto* picture = GPUResourceCast<IGPUTexture>(m_Backend->GetResource(handle));
    ASSERT_EQ(picture->WritePixels(0, 0, 48, 36, texels.data(), 48 * 16), kGPUResultOk);
    const float shares[][4] = {{0, 0, 48, 36}, {16, 12, 16, 12}, {20.4f, 9.6f, 20, 10}, {0.7f, 0.2f, 1, 1}};
    // The whole frame; a rectangle past the target's edges, its rows in view inside the picture.
    const SVector4 rectangles[] = {{0.0f, 0.0f, 1.0f, 1.0f}, {-0.3f, -1.4f, 1.9f, 2.7f}};
    for (const auto& share : shares)
        for (const SVector4& rectangle : rectangles)
        {
            GetVariable("r_rt_scale_x", 4)->SetFloat(share[0] / 1920);
            GetVariable("r_rt_scale_y", 4)->SetFloat(share[1] / 1080);
            DrawInScene([&] {
                picture->SetTexture(0);
                GetVariable("r_dbg_tex_pos", 16)->SetVector(rectangle);
                GetVariable("r_bicubic_extent", 16)->SetVector(SVector4{share[2], share[3], 0, 0});
                m_Renderer->DrawMesh("bilboard", "default", "traced_image", "P0");
            });
            const std::vector<uint32_t> onePass = m_Pixels;
            DrawInScene([&] {
                picture->SetTexture(0);
                if (rectangle.x == 0.0f)
                    EXPECT_TRUE(m_Renderer->DrawRayTracerImage());
                else
                    m_Renderer->DrawBicubic(rectangle, static_cast<uint32_t>(share[2]),
                                            static_cast<uint32_t>(share[3]), "traced_image");
            });
            for (std::size_t i = 0; i < onePass.size(); ++i)
                ASSERT_TRUE(IsNearColor(m_Pixels[i], onePass[i], 1))
                    << share[2] << " x " << share[3] << " texels at (" << rectangle.x << ", " << rectangle.y
                    << ")";
        }
    GetVariable("r_rt_scale_x", 4)->SetFloat(0.0f);
    GetVariable("r_rt_scale_y", 4)->SetFloat(0.0f);
    // The two passes ran: the row target holds filtered rows.
    const std::vector<float> rows = ReadFloats(m_Renderer->GetBicubicRowTarget());
    EXPECT_GT(*std::max_element(rows.begin(), rows.end()), 0.0f);
    m_Backend->ReleaseResource(&handle);
}

TEST_F(KelvoRendererTest, TextLightsOnlyItsCellMeasuredFromItsAnchorsCorner)
{
    const uint32_t w = GLTest::kWindowWidth, h = GLTest::kWindowHeight;
    // A quarter of the screen in from the anchor's corner: 80 pixels across, 60 down or up;
    // anchors 0 to 3 are the top-left, top-right, bottom-left and bottom-right corners.
    for (int anchor = 0; anchor < 4; ++anchor)
    {
        m_Renderer->DrawText({0.25f, 0.25f, 0, 0}, "A", anchor);
        DrawInScene([&] { m_Renderer->DrawOverlays(nullptr); });
        EXPECT_TRUE(m_Renderer->GetTexts().GetTexts().empty());
        const uint32_t x0 = anchor % 2 ? w - 80 - 24 : 80, y0 = anchor < 2 ? 60 : h - 60 - 24;
        // Glyph texels are white: more than 20 of the cell's.
        EXPECT_LT(CountDifferent(x0, y0, x0 + 24, y0 + 24, 0xFFFFFFFF), 24 * 24 - 20) << "anchor " << anchor;
        EXPECT_EQ(CountDifferent(0, 0, w, h, kBlack), CountDifferent(x0, y0, x0 + 24, y0 + 24, kBlack))
            << "anchor " << anchor;
    }
}

// The scene draws what the camera object sees through the renderables of the space, and sets
// its view and projection for the world lines drawn after it.
TEST_F(KelvoRendererTest, SceneAndWorldLinesAreSeenFromTheCameraObject)
{
    C3DSpace space({{-100, -100, -100, 1}, {100, 100, 100, 1}});
    m_Renderer.reset();
    m_Renderer = std::make_unique<CKelvoRenderer>(m_Backend.get(), &space);
    SPrimitive cube(1);
    auto* place = static_cast<C3DObjectLogic*>(cube.FindLogic(C3DObjectLogic::StaticTypeId()));
    STransformState state = place->GetTransformState();
    state.local = MatrixTranslation(0.0f, 0.0f, -3.0f);
    place->SetTransformState(state);
    place->Update();
    ASSERT_TRUE(space.Insert(place));
    // Ten units beside it along x, turned a quarter about y so that its view (down -z) runs
    // along -x.
    SCameraRig camera;
    PlaceCamera(camera,
                MatrixRotationY(std::numbers::pi_v<float> / 2) * MatrixTranslation(10.0f, 0.0f, -3.0f));
    // Across the view, between camera and cube, at the camera's height: the middle rows.
    m_Renderer->AddLine({5.0f, 0.0f, -9.0f, 1.0f}, {5.0f, 0.0f, 3.0f, 1.0f}, 0xFFFF0000, 0xFFFF0000);

    DrawInScene([&] {
        m_Renderer->RenderScene(&camera);
        m_Renderer->DrawOverlays(&camera);
    });
    const uint32_t w = GLTest::kWindowWidth, h = GLTest::kWindowHeight;
    // The green cube in the middle, just above the line.
    const uint32_t centre = Pixel(w / 2, h / 2 - 6);
    const uint32_t red = (centre >> 16) & 0xFF, green = (centre >> 8) & 0xFF, blue = centre & 0xFF;
    EXPECT_GT(green, 0x80u) << ColorText(centre);
    EXPECT_GT(green, red + 0x30) << ColorText(centre);
    EXPECT_GT(green, blue + 0x30) << ColorText(centre);
    // The line across the whole width; nothing else above or below the cube.
    EXPECT_GT(CountDifferent(0, h / 2 - 1, w, h / 2 + 1, kBlack), 300);
    EXPECT_EQ(CountDifferent(0, 0, w, h / 2 - 40, kBlack), 0);
    EXPECT_EQ(CountDifferent(0, h / 2 + 40, w, h, kBlack), 0);
}

TEST_F(KelvoRendererTest, OverlaysReportTheResourceTheyMiss)
{
    CLineQueue lines;
    CTextQueue texts;
    texts.SetCellSize(24, 24);
    EXPECT_EQ(texts.Draw(nullptr), 0u);
    lines.AddCameraLine({0, 0, 1, 1}, {1, 0, 1, 1}, 1, 2);
    texts.Add({0, 0, 0, 0}, "x", 0, 320, 240);

    // With the overlay meshes under other names, their own names load nothing.
    std::vector<GPUObjectHandle> renamed;
    for (const char* name : {"line_mesh", "text_mesh"})
    {
        const GPUObjectHandle* found = m_Backend->FindByName(name, kGPUObjectMesh);
        ASSERT_NE(found, nullptr);
        renamed.push_back(*found);
        ASSERT_EQ(m_Backend->RenameResource(*found, std::string(name) + "_aside"), 0u);
    }
    EXPECT_EQ(lines.Draw(), kGPUResultOverlayNoLineMesh);
    EXPECT_EQ(texts.Draw(nullptr), kGPUResultOverlayNoTextMesh);
    for (std::size_t i = 0; i < renamed.size(); ++i)
    {
        ASSERT_EQ(m_Backend->RenameResource(renamed[i], i ? "text_mesh" : "line_mesh"), 0u);
        m_Backend->ReleaseResource(&renamed[i]);
    }
    // The queues wait for the next frame that can draw them.
    EXPECT_EQ(lines.GetCameraLines().size(), 1u);
    EXPECT_EQ(texts.GetTexts().size(), 1u);
    EXPECT_EQ(lines.Draw(), 0u);
    EXPECT_EQ(texts.Draw(nullptr), 0u);
    EXPECT_TRUE(lines.GetCameraLines().empty());
    EXPECT_TRUE(texts.GetTexts().empty());
}
