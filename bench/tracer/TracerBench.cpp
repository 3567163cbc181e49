// tracer_bench [frames [scene]]: traces the demo's four ball scenes at 1280 x 960 on the CPU backend and
// prints frame rates and rays per second by kind; then traces the same rays (recorded from one
// frame) through our grid and through Embree 3 on the same spheres, and prints the ratio.
#include "BenchScenes.h"
#include "EmbreeSpheres.h"
#include "RayBatch.h"

#include "quellbeam/BackendFactory.h"
#include "quellbeam/cpu/CpuBackend.h"
#include "quellbeam/kernel/Shading.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <thread>

using namespace quellbeam;
using namespace bench;

namespace
{
constexpr uint32_t kWidth = 1280;
constexpr uint32_t kHeight = 960;
constexpr float kEmbreeNear = kHitEpsilon;

double Seconds(std::chrono::steady_clock::time_point start)
{
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

struct SFrameFigures
{
    double frameSeconds;
    double cpuSeconds;  // processor time of all threads: steadier than wall time on a shared machine
    double treeSeconds;
    SRayCounts rays;
};

// The fastest of the frames: the least disturbed by other work on the machine.
SFrameFigures TimeFrames(CGeomTracer& tracer, CCpuBackend& cpu, const SViewBlock& view, int frames)
{
    SFrameFigures figures = {1e30, 1e30, 0, {}};
    for (int frame = -1; frame < frames; ++frame)  // frame -1 warms up
    {
        tracer.Prepare();
        tracer.SetView(&view);
        const auto start = std::chrono::steady_clock::now();
        const std::clock_t cpuStart = std::clock();
        tracer.Trace();
        const double seconds = Seconds(start);
        const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
        tracer.Finish();
        if (frame < 0)
            continue;
        figures.frameSeconds = std::min(figures.frameSeconds, seconds);
        figures.cpuSeconds = std::min(figures.cpuSeconds, cpuSeconds);
        figures.rays = cpu.GetRayCounts();  // the same scene every frame
    }
    uint32_t descriptor[kTreeDescriptorWords];
    const auto start = std::chrono::steady_clock::now();
    for (int build = 0; build < 10; ++build)
        cpu.BuildTree(static_cast<uint32_t>(tracer.GetSpheres().size()), descriptor);
    figures.treeSeconds = Seconds(start) / 10;
    return figures;
}

struct SComparison
{
    size_t rays;
    double oursSeconds;
    double embreeSeconds;
    double embreeBuildMs;
    double agreement;
};

// The same recorded rays through our grid and through Embree: nearest hits, then shadow tests.
// Each side runs `rounds` times, alternating, and keeps its fastest round.
SComparison Compare(CWorkerPool& workers, const SSceneView& scene, const SKernelConstants& constants,
                    const SRayRecorder& recorded, const CEmbreeSpheres& embree, int rounds)
{
    const SRayList& nearest = recorded.nearest;
    const SRayList& shadow = recorded.shadow;
    std::vector<uint32_t> oursAnswers[2], theirAnswers[2];
    SComparison result = {nearest.Size() + shadow.Size(), 1e30, 1e30, embree.GetBuildMs(), 0};
    for (int round = 0; round < rounds; ++round)
    {
        double ours = RunBatch(workers, nearest.Size(), [&](size_t i) {
            SRayHit hit;
            TraceGrid<false>(scene, constants, nearest.origins[i], nearest.directions[i], hit);
            return hit.ball;
        }, oursAnswers[0]);
        ours += RunBatch(workers, shadow.Size(), [&](size_t i) {
            SRayHit hit;
            hit.t = kShadowReach;
            return TraceGrid<true>(scene, constants, shadow.origins[i], shadow.directions[i], hit) ? 1u : 0u;
        }, oursAnswers[1]);
        double theirs = RunBatch(workers, nearest.Size(), [&](size_t i) {
            return embree.Intersect(nearest.origins[i], nearest.directions[i], kEmbreeNear, kNoHitDistance);
        }, theirAnswers[0]);
        theirs += RunBatch(workers, shadow.Size(), [&](size_t i) {
            return embree.Occluded(shadow.origins[i], shadow.directions[i], kEmbreeNear, kShadowReach) ? 1u : 0u;
        }, theirAnswers[1]);
        result.oursSeconds = std::min(result.oursSeconds, ours);
        result.embreeSeconds = std::min(result.embreeSeconds, theirs);
    }

    size_t same = 0;
    for (int kind = 0; kind < 2; ++kind)
        for (size_t i = 0; i < oursAnswers[kind].size(); ++i)
            same += oursAnswers[kind][i] == theirAnswers[kind][i] ? 1 : 0;
    result.agreement = result.rays ? static_cast<double>(same) / static_cast<double>(result.rays) : 1.0;
    return result;
}
}

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const char* only = argc > 2 ? argv[2] : nullptr;  // a part of one scene's name
    const uint32_t threads = std::max(1u, std::thread::hardware_concurrency());

    CMemoryTexture output(kWidth, kHeight, kTracerTextureFloat4);
    CMemoryTexture input(4, 4, kTracerTextureFloat4);
    CMemoryTexture floor(64, 64, kTracerTextureArgb8);
    PaintBenchFloor(floor);
    CGeomTracer tracer(&CreateCpuBackend, &CreateCpuBackend);
    tracer.SetGLData(&output, &input);
    if (!tracer.IsReady() || !tracer.SetScreenSize(kWidth, kHeight))
    {
        std::fprintf(stderr, "tracer_bench: the CPU backend did not start\n");
        return 1;
    }
    auto& cpu = static_cast<CCpuBackend&>(*tracer.GetBackend());
    CWorkerPool workers(threads);

    std::printf("CPU backend, %u threads, %ux%u, %d frames per scene (Embree %s)\n\n", threads, kWidth, kHeight,
                frames, RTC_VERSION_STRING);
    std::printf("%-16s %6s %9s %7s %6s %8s %8s %8s %8s %7s | %8s %8s %6s %7s %6s\n", "scene", "balls", "frame ms", "cpu ms",
                "Mpx/s", "Mrays/s", "prim M/s", "shad M/s", "boun M/s", "tree ms", "ours M/s", "embr M/s", "ratio",
                "bvh ms", "agree");
    for (const SBenchScene& scene : MakeBenchScenes())
    {
        if (only != nullptr && std::strstr(scene.name, only) == nullptr)
            continue;
        scene.setUp(tracer, floor);
        const uint32_t count = static_cast<uint32_t>(tracer.GetSpheres().size());
        const SFrameFigures f = TimeFrames(tracer, cpu, scene.view, frames);

        // One frame's rays, recorded by running the shading code on this thread.
        SRayRecorder recorded;
        std::vector<SVec4> scratch(static_cast<size_t>(kWidth) * kHeight);
        const SSceneView view = cpu.GetSceneView(count);
        SKernelConstants constants = tracer.GetConstants();
        TraceRect(view, constants, 0, kWidth, 0, kHeight, 1.0f / kWidth, 1.0f / kHeight, scratch.data(), kWidth,
                  recorded);
        CEmbreeSpheres embree(tracer.GetSpheres().data(), count, threads);
        if (!embree.IsValid())
            return 1;
        const SComparison c = Compare(workers, view, constants, recorded, embree, frames);

        const double pixels = static_cast<double>(kWidth) * kHeight;
        const double total = static_cast<double>(f.rays.primary + f.rays.shadow + f.rays.bounce);
        const double ours = static_cast<double>(c.rays) / c.oursSeconds * 1e-6;
        const double theirs = static_cast<double>(c.rays) / c.embreeSeconds * 1e-6;
        std::printf("%-16s %6u %9.1f %7.1f %6.2f %8.2f %8.2f %8.2f %8.2f %7.2f | %8.2f %8.2f %6.2f %7.2f %5.1f%%\n",
                    scene.name, count, f.frameSeconds * 1e3, f.cpuSeconds * 1e3, pixels / f.frameSeconds * 1e-6,
                    total / f.frameSeconds * 1e-6, f.rays.primary / f.frameSeconds * 1e-6,
                    f.rays.shadow / f.frameSeconds * 1e-6, f.rays.bounce / f.frameSeconds * 1e-6, f.treeSeconds * 1e3,
                    ours, theirs, ours / theirs, c.embreeBuildMs, c.agreement * 100.0);
    }
    std::printf("\nframe ms: tree build and trace of the fastest frame (cpu ms: processor time of all threads);\n"
                "rays per second by kind in that frame;\n"
                "ours/embr: one frame's recorded rays (nearest hits, then shadow tests) through our grid and\n"
                "through Embree's single-ray queries on the same threads, fastest round each; ratio = ours / Embree.\n");
    return 0;
}
