// The tracer client on the GL backend: the textures it shares, the floor by name, the view and
// the traced share it hands to the tracer.
#include "../../kelvo/render/RenderTestBase.h"

#include "support/CaptureStderr.h"
#include "support/OwningObject.h"
#include "brovell/tracer/KelvoRayTracer.h"
#include "kelvo/core/GameObject.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/RayTraceClient.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/CameraLogic.h"

#include <cstring>
#include <memory>
#include <utility>
#include <vector>

namespace
{
// Records what the client hands over; traces nothing.
class CRecordingTracer final : public IRayTracer
{
public:
    void Trace() override { ++m_Traces; }
    void SetView(const SViewBlock* view) override { m_View = *view; }
    bool SetScreenSize(uint32_t width, uint32_t height) override
    {
        m_ScreenSize = {width, height};
        return true;
    }
    void Prepare() override { ++m_Prepares; }
    void Finish() override { ++m_Finishes; }
    void SetUntransformedData(uint32_t, uint32_t, uint32_t, uint32_t, uint32_t, uint32_t) override {}
    void Reserved() override {}
    void SetTransforms(uint32_t, uint32_t) override {}
    void SetObjects(uint32_t, uint32_t, uint32_t, uint32_t) override {}
    void SetGLData(ITracerTexture* output, ITracerTexture* input) override
    {
        ++m_GLDataCalls;
        m_Output = output;
        m_Input = input;
    }
    void SetTexture(ITracerTexture* texture) override { m_Floors.push_back(texture); }
    bool TracesOnHost() const override { return m_OnHost; }

    bool m_OnHost = false;
    int m_Traces = 0, m_Prepares = 0, m_Finishes = 0, m_GLDataCalls = 0;
    std::pair<uint32_t, uint32_t> m_ScreenSize;
    SViewBlock m_View{};
    ITracerTexture* m_Output = nullptr;
    ITracerTexture* m_Input = nullptr;
    std::vector<ITracerTexture*> m_Floors;
};

// A camera at the world position whose components go with it.
struct SCameraRig : COwning<CGameObject>
{
    explicit SCameraRig(const SMatrix& world)
    {
        auto* place = AddLogic<C3DObjectLogic>();
        AddLogic<CCameraLogic>()->UpdateProjection(0.75f);
        STransformState state = place->GetTransformState();
        state.world = world;
        place->SetTransformState(state);
    }
};

class KelvoRayTracerGLTest : public RendererTestBase
{
protected:
    void TearDown() override
    {
        m_Client.reset();
        RendererTestBase::TearDown();
    }

    // The client on the recording tracer.
    void UseRecordingTracer() { m_Client = std::make_unique<CKelvoRayTracer>(&m_Tracer); }

    CRecordingTracer m_Tracer;
    std::unique_ptr<CKelvoRayTracer> m_Client;
};
}

TEST_F(KelvoRayTracerGLTest, RenderTargetsAreHandedOverOnceAndTheImageIsAlways1280x960)
{
    UseRecordingTracer();
    m_Client->CreateRenderTargets(1920, 1080);
    m_Client->CreateRenderTargets(640, 480);
    EXPECT_EQ(std::make_pair(m_Client->GetWidth(), m_Client->GetHeight()), std::make_pair(1280, 960));
    EXPECT_EQ(m_Tracer.m_GLDataCalls, 1);
    EXPECT_EQ(m_Tracer.m_ScreenSize, std::make_pair(1280u, 960u));
    ASSERT_NE(m_Tracer.m_Output, nullptr);
    EXPECT_EQ(m_Tracer.m_Output->GetFormat(), kTracerTextureFloat4);
    ASSERT_NE(m_Tracer.m_Input, nullptr);
    EXPECT_NE(m_Tracer.m_Input->GetGLName(), m_Tracer.m_Output->GetGLName());

    // What the tracer writes into the output's host copy reaches the shared texture.
    uint32_t pitch = 0;
    auto* texels = static_cast<float*>(m_Tracer.m_Output->Lock(&pitch));
    ASSERT_NE(texels, nullptr);
    EXPECT_EQ(pitch, 1280u * 16);
    EXPECT_EQ(m_Tracer.m_Output->Lock(&pitch), nullptr) << "a second lock while locked";
    const float texel[4] = {0.25f, 0.5f, 0.75f, 1.0f};
    std::memcpy(texels + (961 * 1280 / 2) * 4, texel, sizeof(texel));
    m_Tracer.m_Output->Unlock();
    GPUObjectHandle handle;
    ASSERT_EQ(m_Backend->LoadTexture("soft_raytracer_rt", handle), 0u);
    std::vector<uint32_t> firstWords;
    auto* output = GPUResourceCast<IGPUTexture>(m_Backend->GetResource(handle));
    ASSERT_EQ(output->ReadPixels(0, 640, 480, 1, 1, firstWords), 0u);
    float red = 0.0f;
    std::memcpy(&red, firstWords.data(), sizeof(red));
    EXPECT_EQ(red, 0.25f);
    m_Backend->ReleaseResource(&handle);
}

TEST_F(KelvoRayTracerGLTest, RecreatedInputBufferIsHandedToTheTracer)
{
    UseRecordingTracer();
    g_pRayTraceClient = m_Client.get();
    m_Client->CreateRenderTargets(1920, 1080);
    SCameraRig camera(MatrixTranslation(0.0f, 0.0f, 10.0f));

    // While the renderer has no buffer, nothing is traced.
    m_Renderer->ReleaseRenderTargets();
    CaptureStderr([&] { m_Client->Render(&camera); });
    EXPECT_EQ(m_Tracer.m_Traces, 0);

    m_Renderer->CreateRenderTargets();
    EXPECT_EQ(m_Tracer.m_GLDataCalls, 2);
    ASSERT_NE(m_Tracer.m_Input, nullptr);
    IGPUTexture* buffer = m_Renderer->GetRayTracerInputBuffer();
    ASSERT_NE(buffer, nullptr);
    EXPECT_EQ(m_Tracer.m_Input->GetGLName(), buffer->GetInteropName());
    m_Client->Render(&camera);
    EXPECT_EQ(m_Tracer.m_Traces, 1);
    // The same buffer again changes nothing.
    m_Client->TakeInputBuffer();
    EXPECT_EQ(m_Tracer.m_GLDataCalls, 2);
    g_pRayTraceClient = nullptr;
}

TEST_F(KelvoRayTracerGLTest, TheSameFloorNameTwiceReachesTheTracerOnce)
{
    UseRecordingTracer();
    m_Client->SetTexture("quadrants.png");
    m_Client->SetTexture("quadrants.png");
    ASSERT_EQ(m_Tracer.m_Floors.size(), 1u);
    // A picture reaches the tracer as packed 0xAARRGGBB words, row 0 on top.
    ITracerTexture* floor = m_Tracer.m_Floors[0];
    EXPECT_EQ(floor->GetFormat(), kTracerTextureArgb8);
    uint32_t pitch = 0;
    const auto* words = static_cast<const uint32_t*>(floor->Lock(&pitch));
    ASSERT_NE(words, nullptr);
    EXPECT_EQ(pitch, 8u);
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(words[i], kQuadrantColors[i]) << i;
    floor->Unlock();

    m_Client->SetTexture("yellow.png");
    m_Client->SetTexture("quadrants.png");
    EXPECT_EQ(m_Tracer.m_Floors.size(), 3u);
    // A name that does not load leaves the floor as it was.
    CaptureStderr([&] { m_Client->SetTexture("no_such_floor.png"); });
    EXPECT_EQ(m_Tracer.m_Floors.size(), 3u);
}

TEST_F(KelvoRayTracerGLTest, RenderSendsTheCameraCornersAndQueuesStatistics)
{
    UseRecordingTracer();
    SCameraRig camera(MatrixTranslation(1.0f, 2.0f, 30.0f));
    m_Client->Render(&camera);
    EXPECT_EQ(m_Tracer.m_Prepares, 1);
    EXPECT_EQ(m_Tracer.m_Traces, 1);
    EXPECT_EQ(m_Tracer.m_Finishes, 1);
    // The camera at (1, 2, 30) looks along -z: the centre ray is (0, 0, -1).
    for (int axis = 0; axis < 3; ++axis)
    {
        EXPECT_NEAR(m_Tracer.m_View.position[axis], axis == 2 ? 30.0f : axis + 1.0f, 1e-5f);
        EXPECT_NEAR((m_Tracer.m_View.corners[0][axis] + m_Tracer.m_View.corners[3][axis]) * 0.5f,
                    axis == 2 ? -1.0f : 0.0f, 1e-4f)
            << axis;
    }
    // Top-left lies up and to the left of bottom-right.
    EXPECT_LT(m_Tracer.m_View.corners[0][0], m_Tracer.m_View.corners[3][0]);
    EXPECT_GT(m_Tracer.m_View.corners[0][1], m_Tracer.m_View.corners[3][1]);
    // "<rate> Mpx/s <time> ms <cycles> cpr <status>", the status word in 8 hex digits.
    const auto& texts = m_Renderer->GetTexts().GetTexts();
    ASSERT_EQ(texts.size(), 1u);
    const std::string& text = texts[0].m_Text;
    EXPECT_NE(text.find(" Mpx/s "), std::string::npos) << text;
    EXPECT_NE(text.find(" ms "), std::string::npos) << text;
    EXPECT_EQ(text.substr(text.size() - 13), " cpr 00000000") << text;
}

TEST_F(KelvoRayTracerGLTest, TheTracedShareReachesTheTracerAndTheScaleVariables)
{
    UseRecordingTracer();
    m_Client->CreateRenderTargets(1920, 1080);
    SCameraRig camera(MatrixTranslation(0.0f, 0.0f, 10.0f));
    float scaleX = 0.0f, scaleY = 0.0f;
    const auto readScales = [&] {
        GetVariable("r_rt_scale_x", 4)->GetFloat(scaleX);
        GetVariable("r_rt_scale_y", 4)->GetFloat(scaleY);
    };
    // A tracer on the host, pinned to half of each axis.
    m_Tracer.m_OnHost = true;
    m_Client->PinScale(0.5f);
    m_Client->Render(&camera);
    EXPECT_EQ(m_Tracer.m_ScreenSize, std::make_pair(640u, 480u));
    EXPECT_EQ(m_Client->GetTracedScale(), 0.5f);
    readScales();
    EXPECT_NEAR(scaleX, 640.0f / 1920.0f, 1e-6f);
    EXPECT_NEAR(scaleY, 480.0f / 1080.0f, 1e-6f);
    // A device tracer left free traces the whole image at once.
    m_Tracer.m_OnHost = false;
    m_Client->Unpin();
    m_Client->Render(&camera);
    EXPECT_EQ(m_Tracer.m_ScreenSize, std::make_pair(1280u, 960u));
    readScales();
    EXPECT_NEAR(scaleX, 1280.0f / 1920.0f, 1e-6f);
}
