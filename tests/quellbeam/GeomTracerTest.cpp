// The tracer's host side on the CPU backend: set-up, tiling, sphere lists per scene mode,
// material uploads, the tree box, and one traced frame.
#include "TestScene.h"

#include "quellbeam/MemoryTexture.h"
#include "quellbeam/cpu/CpuBackend.h"
#include "quellbeam/host/GeomTracer.h"
#include "quellbeam/host/StartScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>

using namespace quellbeam;
using namespace quellbeam::test;

namespace
{
struct SSceneWrite
{
    uint32_t offset;
    uint32_t bytes;
};

// What the device received, kept after the tracer took ownership of the backend.
struct SLog
{
    SKernelConstants constants;
    std::vector<SSceneWrite> sceneWrites;
    int registered = 0;
} g_Log;

// A CPU backend that records in g_Log what the host side sends it; with FailStart its
// Initialize fails, as a device backend's does without a device.
template <bool FailStart>
class CRecordingBackend final : public ITracerBackend
{
public:
    static std::unique_ptr<ITracerBackend> Create() { return std::make_unique<CRecordingBackend>(); }

    const char* GetName() const override { return FailStart ? "failing" : "recording CPU"; }
    const char* DescribeError(int error) const override { return m_Cpu.DescribeError(error); }
    int Initialize() override { return FailStart ? kBackendOutOfMemory : m_Cpu.Initialize(); }
    uint64_t GetSceneBufferAddress() const override { return m_Cpu.GetSceneBufferAddress(); }
    int RegisterTexture(ITracerTexture* texture) override
    {
        ++g_Log.registered;
        return m_Cpu.RegisterTexture(texture);
    }
    int WriteSceneData(uint32_t offset, const void* data, uint32_t bytes) override
    {
        g_Log.sceneWrites.push_back({offset, bytes});
        return m_Cpu.WriteSceneData(offset, data, bytes);
    }
    int WriteConstants(const SKernelConstants& constants, uint32_t offset, uint32_t bytes) override
    {
        std::memcpy(reinterpret_cast<char*>(&g_Log.constants) + offset,
                    reinterpret_cast<const char*>(&constants) + offset, bytes);
        return m_Cpu.WriteConstants(constants, offset, bytes);
    }
    int BindFloorTexture(ITracerTexture* texture) override { return m_Cpu.BindFloorTexture(texture); }
    int ResetFrame() override { return m_Cpu.ResetFrame(); }
    int MapOutput(ITracerTexture* output) override { return m_Cpu.MapOutput(output); }
    int UnmapOutput() override { return m_Cpu.UnmapOutput(); }
    int BuildTree(uint32_t count, uint32_t* descriptor) override
    {
        return m_Cpu.BuildTree(count, descriptor);
    }
    int TraceFrame(uint32_t count, uint32_t width, uint32_t height) override
    {
        return m_Cpu.TraceFrame(count, width, height);
    }
    SRayCounts GetRayCounts() const override { return m_Cpu.GetRayCounts(); }

private:
    CCpuBackend m_Cpu{2};
};
constexpr BackendFactory kRecording = &CRecordingBackend<false>::Create;

// A tracer on the recording backend with small output and input textures.
struct STracerFixture
{
    explicit STracerFixture(uint32_t width = 128, uint32_t height = 16, BackendFactory preferred = kRecording)
        : output(width, height, kTracerTextureFloat4)
        , input(width, height, kTracerTextureFloat4)
        , tracer(preferred, kRecording)
    {
        g_Log = {};
        tracer.SetGLData(&output, &input);
        tracer.SetScreenSize(width, height);
    }

    // A camera at `position` looking down -z with a 90-degree view.
    void LookFrom(float x, float y, float z)
    {
        SViewBlock view = {{x, y, z, 1},
                           {{-1, 0.75f, -1, 0}, {1, 0.75f, -1, 0}, {-1, -0.75f, -1, 0}, {1, -0.75f, -1, 0}}};
        tracer.SetView(&view);
    }

    void Frame()
    {
        tracer.Prepare();
        tracer.Trace();
        tracer.Finish();
    }

    CMemoryTexture output;
    CMemoryTexture input;
    CGeomTracer tracer;
};

size_t MaterialWrites(const SLog& log)
{
    size_t writes = 0;
    for (const SSceneWrite& write : log.sceneWrites)
        writes += write.offset != 0 ? 1 : 0;
    return writes;
}
}

TEST(GeomTracer, StartsWithTheRandomSpheresAndFitsTheTreeBoxToThem)
{
    STracerFixture fixture;
    const std::vector<SVec4>& spheres = fixture.tracer.GetSpheres();
    ASSERT_EQ(spheres.size(), kStartSphereCount);
    ASSERT_EQ(fixture.tracer.GetMaterials().size(), kStartSphereCount);
    // Materials, then the spheres (their layout is the material test's).
    ASSERT_EQ(g_Log.sceneWrites.size(), 2u);

    fixture.tracer.UploadSpheres();
    float minimum, maximum;
    FitCube(spheres, minimum, maximum);
    EXPECT_EQ(g_Log.constants.minBB, minimum);
    EXPECT_EQ(g_Log.constants.maxBB, maximum);
    EXPECT_GT(maximum, 50.0f);
    EXPECT_EQ(MaterialWrites(g_Log), 1u); // same count: no second material upload
}

TEST(GeomTracer, JugglerFieldIsBuiltOnceAndTheSameEveryTime)
{
    STracerFixture first;
    first.tracer.StartJugglerField();
    const std::vector<SJugglerInstance> instances = first.tracer.GetInstances();
    first.tracer.SetTime(5.0f);
    first.tracer.StartJugglerField(); // already in the mode: kept
    ASSERT_EQ(first.tracer.GetInstances().size(), instances.size());
    EXPECT_EQ(first.tracer.GetInstances()[0].time, 5.0f);

    // Another tracer that drew other random values first lays out the same field.
    STracerFixture second;
    second.tracer.StartBallSimulation(5);
    second.tracer.StartJugglerField();
    ASSERT_EQ(second.tracer.GetInstances().size(), instances.size());
    for (size_t i = 0; i < instances.size(); ++i)
        EXPECT_EQ(std::memcmp(&instances[i], &second.tracer.GetInstances()[i], sizeof(SJugglerInstance)), 0);

    second.tracer.UploadSpheres();
    EXPECT_EQ(second.tracer.GetSpheres().size(), instances.size() * CJugglerModel::kSpheres);
}

TEST(GeomTracer, BallSimulationIsScaledIntoTheFixedBoxAndItsMaterialsGoUpOnlyWhenTheCountChanges)
{
    STracerFixture fixture;
    fixture.tracer.StartBallSimulation(5);
    fixture.tracer.UploadSpheres();
    const std::vector<SVec4>& spheres = fixture.tracer.GetSpheres();
    ASSERT_EQ(spheres.size(), 730u);
    const float scale = 214.5f / 2.6f;
    const SBall& first = fixture.tracer.GetBallSimulation().GetBalls()[0];
    EXPECT_FLOAT_EQ(spheres[0].x, first.position[0] * scale);
    EXPECT_FLOAT_EQ(spheres[0].w, 0.019f * 1.1f * scale);
    EXPECT_FLOAT_EQ(spheres[729].w, 3.3333333f); // 0.04 x 1.1 x 82.5 is capped
    EXPECT_EQ(g_Log.constants.minBB, -100.0f);
    EXPECT_EQ(g_Log.constants.maxBB, 100.0f);

    ASSERT_EQ(MaterialWrites(g_Log), 2u); // start scene, then 730 balls
    const SSceneWrite& write = g_Log.sceneWrites.back().offset != 0
                                   ? g_Log.sceneWrites.back()
                                   : g_Log.sceneWrites[g_Log.sceneWrites.size() - 2];
    EXPECT_EQ(write.offset, 730u * 16u);
    EXPECT_EQ(write.bytes, 730u * 32u);
    fixture.tracer.SetTime(0.5f);
    fixture.tracer.Update();
    fixture.tracer.UploadSpheres();
    EXPECT_EQ(MaterialWrites(g_Log), 2u);
    // The balls keep the start scene's first materials.
    EXPECT_EQ(fixture.tracer.GetMaterials().size(), 730u);
    EXPECT_GE(fixture.tracer.GetMaterials()[0].reflectance, 0.06f);

    const float gravity[3] = {1, 2, 3};
    fixture.tracer.SetGravity(gravity);
    fixture.tracer.SetGravity(nullptr); // ignored
    EXPECT_EQ(fixture.tracer.GetBallSimulation().GetAcceleration()[2], 3.0f);
}

TEST(GeomTracer, ADeviceBackendThatCannotStartHandsOverToTheCpu)
{
    STracerFixture fixture(128, 8, &CRecordingBackend<true>::Create);
    ASSERT_TRUE(fixture.tracer.IsReady());
    EXPECT_STREQ(fixture.tracer.GetBackend()->GetName(), "recording CPU");
    EXPECT_EQ(fixture.tracer.GetSpheres().size(), kStartSphereCount);
}

TEST(GeomTracer, TracesTheSingleJugglerIntoTheOutputTexture)
{
    STracerFixture fixture(128, 16);
    const float light[3] = {0, 60, 60};
    fixture.tracer.SetShading(false, nullptr, nullptr, light);
    fixture.tracer.StartSingleJuggler();
    fixture.tracer.UploadSpheres();
    ASSERT_EQ(fixture.tracer.GetSpheres().size(), 88u);
    // The camera faces the figure from 40 units away at chest height.
    fixture.LookFrom(0, 12, 40);
    fixture.tracer.SetView(nullptr); // ignored: the last view stays
    fixture.Frame();
    EXPECT_EQ(fixture.output.GetLockCount(), 1);
    EXPECT_EQ(fixture.output.GetUnlockCount(), 1);
    EXPECT_EQ(fixture.tracer.GetTreeCopy()[kTreeCountWord], 88u);

    const SRayCounts counts = fixture.tracer.GetBackend()->GetRayCounts();
    EXPECT_EQ(counts.primary, 128u * 16u);
    // The upper half looks upward: sky, and the figure's upper body in front of it.
    int figure = 0, sky = 0;
    for (uint32_t y = 0; y < 8; ++y)
        for (uint32_t x = 0; x < 128; ++x)
        {
            const float* texel = fixture.output.Texel(x, y);
            ASSERT_TRUE(std::isfinite(texel[0]) && std::isfinite(texel[1]) && std::isfinite(texel[2]));
            // Sky pixels carry the gradient's blue; the figure's skin and shirt are reddish.
            sky += texel[2] > 0.9f && texel[0] < texel[2] ? 1 : 0;
            figure += texel[0] > texel[2] + 0.1f ? 1 : 0;
        }
    EXPECT_GT(figure, 10);
    EXPECT_GT(sky, 500);
}

TEST(GeomTracer, EveryPixelIsTracedAtSizesThatAreNotWholeUnits)
{
    // 200 x 12 is one and a half units across and down; the texture is smaller still, and
    // nothing may be written past it.
    STracerFixture fixture(200, 12);
    CMemoryTexture small(150, 10, kTracerTextureFloat4);
    fixture.tracer.SetGLData(&small, &fixture.input);
    ASSERT_TRUE(fixture.tracer.SetScreenSize(200, 12));
    EXPECT_EQ(g_Log.constants.blocksX, 2u);
    EXPECT_EQ(g_Log.constants.totalBlocks, 4u);
    fixture.tracer.UploadSpheres();
    fixture.LookFrom(0, 0, 150);
    fixture.Frame();
    EXPECT_EQ(fixture.tracer.GetBackend()->GetRayCounts().primary, 150u * 10u);
    for (uint32_t y = 0; y < 10; ++y)
        for (uint32_t x = 0; x < 150; ++x)
            ASSERT_GT(small.Texel(x, y)[0] + small.Texel(x, y)[1] + small.Texel(x, y)[2], 0.0f)
                << x << "," << y;
}

TEST(GeomTracer, FloorTextureIsRegisteredOnceAndCopiedWhenItBecomesCurrent)
{
    STracerFixture fixture;
    CMemoryTexture metal(8, 8, kTracerTextureArgb8);
    CMemoryTexture wood(8, 8, kTracerTextureArgb8);
    fixture.tracer.SetTexture(&metal);
    fixture.tracer.SetTexture(&metal);
    EXPECT_EQ(metal.GetLockCount(), 1);
    EXPECT_EQ(metal.GetUnlockCount(), 1);
    fixture.tracer.SetTexture(&wood);
    fixture.tracer.SetTexture(&metal);
    EXPECT_EQ(metal.GetLockCount(), 2);
    EXPECT_EQ(g_Log.registered, 4); // output, input, metal, wood
    // A texture of the wrong format is refused and none stays bound.
    CMemoryTexture floats(8, 8, kTracerTextureFloat4);
    fixture.tracer.SetTexture(&floats);
    EXPECT_EQ(floats.GetLockCount(), 0);
}

TEST(GeomTracer, AFrameUsesTheViewSetAfterPrepareAndNoneIsTracedUnmapped)
{
    STracerFixture fixture(128, 8);
    fixture.tracer.Trace(); // no Prepare: the backend refuses, nothing is written
    EXPECT_EQ(fixture.output.GetLockCount(), 0);
    EXPECT_EQ(fixture.tracer.GetBackend()->GetRayCounts().primary, 0u);
    // The renderer's order: Prepare, SetView, Trace, Finish. The first frame already shows the
    // camera it was given, so it equals the second.
    fixture.tracer.UploadSpheres();
    const SViewBlock view = {
        {0, 0, 150, 1},
        {{-0.3f, 0.1f, -1, 0}, {0.3f, 0.1f, -1, 0}, {-0.3f, -0.1f, -1, 0}, {0.3f, -0.1f, -1, 0}}};
    std::vector<float> frames[2];
    for (std::vector<float>& image : frames)
    {
        fixture.tracer.Prepare();
        fixture.tracer.SetView(&view);
        fixture.tracer.Trace();
        fixture.tracer.Finish();
        image.assign(fixture.output.Texel(0, 0), fixture.output.Texel(0, 0) + 128 * 8 * 4);
    }
    EXPECT_EQ(frames[0], frames[1]);
}
