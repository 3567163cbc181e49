// The CUDA backend: the device tree lists the balls that touch each cell, as the CPU tree
// does, and the four benchmark scenes trace to the CPU backend's pictures. Every test skips,
// saying why, where the runtime finds no usable device.
#include "BenchScenes.h"
#include "TestScene.h"

#include "platform/DynamicLibrary.h"
#include "quellbeam/BackendFactory.h"
#include "quellbeam/cpu/CpuBackend.h"
#include "quellbeam/cuda/CudaBackend.h"
#include "support/CaptureStderr.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>

using namespace quellbeam;
using namespace quellbeam::test;

namespace
{
// Skips the test, with the backend's own log line as the reason, when no device can be used.
#define START_DEVICE_OR_SKIP(backend)                                                                        \
    std::string reason_;                                                                                     \
    std::unique_ptr<ITracerBackend> backend = StartDevice(reason_);                                          \
    if (backend == nullptr)                                                                                  \
    GTEST_SKIP() << reason_

std::unique_ptr<ITracerBackend> StartDevice(std::string& reason)
{
    std::unique_ptr<ITracerBackend> backend;
    reason = CaptureStderr([&] { backend = CCudaBackend::Create(); });
    if (backend == nullptr)
        return nullptr;
    if (int error = backend->Initialize(); error != 0)
    {
        reason = std::string("CUDA backend failed to start: ") + backend->DescribeError(error);
        return nullptr;
    }
    return backend;
}

// Builds the tree over the spheres on the device and reads its memory back; BuildTree's result.
int BuildOnDevice(ITracerBackend& device, const std::vector<SVec4>& spheres, float minBB, float maxBB,
                  uint32_t* tree, std::vector<uint32_t>& memory)
{
    const uint32_t count = static_cast<uint32_t>(spheres.size());
    const std::vector<SVec4> elements = SceneElements(spheres);
    EXPECT_EQ(device.WriteSceneData(0, elements.data(), count * 3 * kSceneElementBytes), 0);
    SKernelConstants constants;
    constants.minBB = minBB;
    constants.maxBB = maxBB;
    EXPECT_EQ(device.WriteConstants(constants, 0, sizeof(constants)), 0);
    const int built = device.BuildTree(count, tree);
    EXPECT_EQ(static_cast<CCudaBackend&>(device).ReadTreeMemory(memory), 0);
    return built;
}

// Colours agree within 1e-3 relative (1e-6 absolute near zero).
bool Agree(const float* a, const float* b)
{
    for (int channel = 0; channel < 4; ++channel)
    {
        const float tolerance = 1e-3f * std::max(std::fabs(a[channel]), std::fabs(b[channel])) + 1e-6f;
        if (!(std::fabs(a[channel] - b[channel]) <= tolerance))
            return false;
    }
    return true;
}

// A pixel on a silhouette: some neighbour differs from it by more than ten times the tolerance.
bool OnSilhouette(const CMemoryTexture& image, uint32_t x, uint32_t y)
{
    const float* centre = image.Texel(x, y);
    for (int dy = -1; dy <= 1; ++dy)
        for (int dx = -1; dx <= 1; ++dx)
        {
            const int nx = static_cast<int>(x) + dx, ny = static_cast<int>(y) + dy;
            if (nx < 0 || ny < 0 || nx >= static_cast<int>(image.GetWidth()) ||
                ny >= static_cast<int>(image.GetHeight()))
                continue;
            const float* other = image.Texel(nx, ny);
            for (int channel = 0; channel < 4; ++channel)
                if (std::fabs(centre[channel] - other[channel]) >
                    1e-2f * std::max(std::fabs(centre[channel]), std::fabs(other[channel])) + 1e-5f)
                    return true;
        }
    return false;
}

// The CPU backend traces what the device holds: its scene buffer, the tracer's constants and floor.
void TraceOnCpu(CCudaBackend& device, const CGeomTracer& tracer, CMemoryTexture& floor, CMemoryTexture& image)
{
    const uint32_t count = static_cast<uint32_t>(tracer.GetSpheres().size());
    std::vector<SVec4> elements;
    ASSERT_EQ(device.ReadSceneData(elements, 3 * count), 0);
    CCpuBackend cpu;
    ASSERT_EQ(cpu.Initialize(), 0);
    ASSERT_EQ(cpu.WriteSceneData(0, elements.data(), 3 * count * kSceneElementBytes), 0);
    ASSERT_EQ(cpu.WriteConstants(tracer.GetConstants(), 0, sizeof(SKernelConstants)), 0);
    ASSERT_EQ(cpu.BindFloorTexture(&floor), 0);
    uint32_t tree[kTreeDescriptorWords];
    ASSERT_EQ(cpu.BuildTree(count, tree), 0);
    ASSERT_EQ(cpu.MapOutput(&image), 0);
    ASSERT_EQ(cpu.TraceFrame(count, image.GetWidth(), image.GetHeight()), 0);
    ASSERT_EQ(cpu.UnmapOutput(), 0);
}
}

TEST(CudaBackend, DeviceTreeListsExactlyTheBallsTouchingEachCell)
{
    START_DEVICE_OR_SKIP(device);
    for (const STreeCase& c : TreeCases())
    {
        SCOPED_TRACE(testing::Message() << c.name << ", " << c.spheres.size() << " balls");
        uint32_t tree[kTreeDescriptorWords];
        std::vector<uint32_t> memory;
        ASSERT_EQ(BuildOnDevice(*device, c.spheres, c.minBB, c.maxBB, tree, memory), 0);
        ExpectTreeListsTouchingBalls(tree, memory, c.spheres, c.minBB, c.maxBB);
    }
}

TEST(CudaBackend, ExhaustedTreeMemoryIsReportedAndEveryListStillEnds)
{
    START_DEVICE_OR_SKIP(device);
    // 600 balls covering the whole cube need far more than the window.
    const std::vector<SVec4> spheres(600, SVec4{0.0f, 0.0f, 0.0f, 200.0f});
    uint32_t tree[kTreeDescriptorWords];
    std::vector<uint32_t> memory;
    EXPECT_NE(BuildOnDevice(*device, spheres, -100.0f, 100.0f, tree, memory), 0);
    // ReadList stops after 100000 chunks: a list that never ends would show as a huge one.
    for (uint32_t cell = 0; cell < kTopCells; ++cell)
    {
        for (uint32_t block = 0; block < kFirstLevelBlocks; ++block)
            EXPECT_LE(ReadList(memory, InitialChunk(block, cell)).size(), spheres.size());
        if (tree[kTreeNodeWords + cell] == kListEnd)
            continue;
        for (uint32_t sub = 0; sub < kSubCells; ++sub)
            EXPECT_LE(ReadList(memory, SubCellListStart(tree[kTreeNodeWords + cell], sub)).size(),
                      spheres.size());
    }
}

TEST(CudaBackend, BenchmarkScenesTraceToTheCpuPicture)
{
    constexpr uint32_t kWidth = 1280, kHeight = 960;
    for (const bench::SBenchScene& scene : bench::MakeBenchScenes())
    {
        SCOPED_TRACE(scene.name);
        CMemoryTexture output(kWidth, kHeight, kTracerTextureFloat4);
        CMemoryTexture input(4, 4, kTracerTextureFloat4);
        CMemoryTexture floor(64, 64, kTracerTextureArgb8);
        bench::PaintBenchFloor(floor);
        CGeomTracer tracer([]() -> std::unique_ptr<ITracerBackend> { return CCudaBackend::Create(); },
                           &CreateCpuBackend);
        std::string log = CaptureStderr([&] { tracer.SetGLData(&output, &input); });
        if (!tracer.IsReady() || std::string(tracer.GetBackend()->GetName()) != "CUDA")
            GTEST_SKIP() << log;
        ASSERT_TRUE(tracer.SetScreenSize(kWidth, kHeight));
        scene.setUp(tracer, floor);
        tracer.Prepare();
        tracer.SetView(&scene.view);
        tracer.Trace();
        tracer.Finish();

        CMemoryTexture cpuImage(kWidth, kHeight, kTracerTextureFloat4);
        TraceOnCpu(static_cast<CCudaBackend&>(*tracer.GetBackend()), tracer, floor, cpuImage);
        size_t differing = 0, offSilhouette = 0;
        for (uint32_t y = 0; y < kHeight; ++y)
            for (uint32_t x = 0; x < kWidth; ++x)
                if (!Agree(output.Texel(x, y), cpuImage.Texel(x, y)))
                {
                    ++differing;
                    if (!OnSilhouette(cpuImage, x, y))
                    {
                        const float* a = output.Texel(x, y);
                        const float* b = cpuImage.Texel(x, y);
                        ADD_FAILURE() << "pixel (" << x << ", " << y << ") off any silhouette: device ("
                                      << a[0] << ", " << a[1] << ", " << a[2] << ") CPU (" << b[0] << ", "
                                      << b[1] << ", " << b[2] << ")";
                        if (++offSilhouette == 10)
                            FAIL() << "more pixels off silhouettes differ";
                    }
                }
        EXPECT_LE(differing, kWidth * kHeight / 1000) << differing << " pixels differ";
        EXPECT_EQ(tracer.GetBackend()->GetRayCounts().primary, uint64_t{kWidth} * kHeight);
    }
}

TEST(CudaBackend, TheLibraryTracesOnTheDevice)
{
    START_DEVICE_OR_SKIP(probe);
    probe.reset();
    platform::CDynamicLibrary library;
    ASSERT_TRUE(library.Open(QUELLBEAM_LIBRARY_PATH)) << library.GetError();
    auto getRayTracer = reinterpret_cast<IRayTracer* (*)()>(library.FindSymbol("GetRayTracer"));
    ASSERT_NE(getRayTracer, nullptr);
    IRayTracer* rayTracer = getRayTracer();
    CMemoryTexture output(256, 64, kTracerTextureFloat4);
    CMemoryTexture input(4, 4, kTracerTextureFloat4);
    const std::string log = CaptureStderr([&] { rayTracer->SetGLData(&output, &input); });
    ASSERT_NE(log.find("[CGeomTracer::SetGLData] Starting CUDA\n"), std::string::npos) << log;

    // Above the start balls the picture's top row looks at the sky; the device's pictures are
    // compared with the CPU's in the benchmark scenes.
    ASSERT_TRUE(rayTracer->SetScreenSize(256, 64));
    const SViewBlock view = {{0, 120, 150, 1},
                             {{-1, 0.5f, -1, 0}, {1, 0.5f, -1, 0}, {-1, -0.8f, -1, 0}, {1, -0.8f, -1, 0}}};
    rayTracer->Prepare();
    rayTracer->SetView(&view);
    rayTracer->Trace();
    rayTracer->Finish();
    EXPECT_EQ(output.GetUnlockCount(), 1);
    EXPECT_GT(output.Texel(128, 0)[2], output.Texel(128, 0)[0]);
}

TEST(CudaBackend, TreeBuildsAndAFrameRunCleanUnderComputeSanitizer)
{
    if (std::getenv("QUELLBEAM_UNDER_SANITIZER") != nullptr)
        GTEST_SKIP() << "already running under compute-sanitizer";
    START_DEVICE_OR_SKIP(probe);
    probe.reset();
    const std::string sanitizer = QUELLBEAM_COMPUTE_SANITIZER;
    if (sanitizer.empty())
        GTEST_SKIP() << "compute-sanitizer was not found when the tests were configured";
    const std::string run = "QUELLBEAM_UNDER_SANITIZER=1 " + sanitizer + " --error-exitcode 1 --tool ";
    const std::string self = " /proc/" + std::to_string(getpid()) + "/exe --gtest_filter=";
    EXPECT_EQ(std::system((run + "memcheck" + self +
                           "CudaBackend.DeviceTree*:CudaBackend.Exhausted*:CudaBackend.TheLibrary*")
                              .c_str()),
              0);
    EXPECT_EQ(std::system((run + "racecheck" + self + "CudaBackend.DeviceTree*").c_str()), 0);
    EXPECT_EQ(std::system((run + "synccheck" + self + "CudaBackend.DeviceTree*").c_str()), 0);
}
