// tracer_bench [frames [scene]]: traces the demo's four ball scenes at 1280 x 960 on the CPU backend and
// prints frame times and rays per second; then traces the same rays (recorded from one frame)
// through the grid, our ball hierarchy and Embree 3 (single rays and 8-ray packets) on the same
// spheres, and prints our rate against Embree's faster query.
#include "BenchScenes.h"
#include "EmbreeSpheres.h"
#include "RayBatch.h"

#include "quellbeam/BackendFactory.h"
#include "quellbeam/cpu/CpuBackend.h"
#include "quellbeam/cpu/PacketShading.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
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
    double cpuSeconds; // processor time of all threads: steadier than wall time on a shared machine
    double treeSeconds;
    SRayCounts rays;
};

// The fastest of the frames: the least disturbed by other work on the machine.
SFrameFigures TimeFrames(CGeomTracer& tracer, CCpuBackend& cpu, const SViewBlock& view, int frames)
{
    SFrameFigures figures = {1e30, 1e30, 0, {}};
    for (int frame = -1; frame < frames; ++frame) // frame -1 warms up
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
        figures.rays = cpu.GetRayCounts(); // the same scene every frame
    }
    uint32_t descriptor[kTreeDescriptorWords];
    const auto start = std::chrono::steady_clock::now();
    for (int build = 0; build < 10; ++build)
        cpu.BuildTree(static_cast<uint32_t>(tracer.GetSpheres().size()), descriptor);
    figures.treeSeconds = Seconds(start) / 10;
    return figures;
}

// One way of answering the recorded rays: ball index per nearest-hit ray, 0/1 per shadow ray.
using ListQuery = std::function<void(const SRayList& list, size_t first, size_t end, uint32_t* answers)>;

struct SMethod
{
    ListQuery nearest;
    ListQuery shadow;
    double seconds = 1e30;    // fastest round
    double cpuSeconds = 1e30; // least processor time of a round
    std::vector<uint32_t> answers[3];
};

// Camera rays, mirror rays, then shadow rays through one method on all workers; keeps the
// method's best wall and processor times.
void RunMethod(CWorkerPool& workers, const SRayRecorder& rays, SMethod& method)
{
    const SRayList* lists[3] = {&rays.primary, &rays.bounce, &rays.shadow};
    double seconds = 0, cpuSeconds = 0;
    for (int kind = 0; kind < 3; ++kind)
    {
        const SRayList& list = *lists[kind];
        const ListQuery& query = kind < 2 ? method.nearest : method.shadow;
        double cpu = 0;
        seconds += RunBatch(
            workers, list.Size(),
            [&](size_t first, size_t end, uint32_t* answers) { query(list, first, end, answers); },
            method.answers[kind], &cpu);
        cpuSeconds += cpu;
    }
    method.seconds = std::min(method.seconds, seconds);
    method.cpuSeconds = std::min(method.cpuSeconds, cpuSeconds);
}

double Agreement(const SMethod& a, const SMethod& b)
{
    size_t same = 0, all = 0;
    for (int kind = 0; kind < 3; ++kind)
        for (size_t i = 0; i < a.answers[kind].size(); ++i)
        {
            same += a.answers[kind][i] == b.answers[kind][i] ? 1 : 0;
            ++all;
        }
    return all != 0 ? static_cast<double>(same) / static_cast<double>(all) : 1.0;
}

enum EMethod
{
    kGrid,
    kOurs,
    kOursPacket,
    kEmbreeSingle,
    kEmbreePacket,
    kMethods
};

// The same recorded rays through the grid, our hierarchy and Embree's single-ray and 8-ray
// queries. The methods run one after the other, `rounds` times, and each keeps its fastest
// round, so that load on the machine falls on all of them alike.
void Compare(CWorkerPool& workers, const SSceneView& scene, const SKernelConstants& constants,
             const SBvhQuery& balls, const SRayRecorder& rays, const CEmbreeSpheres& embree, int rounds,
             SMethod (&methods)[kMethods])
{
    methods[kGrid].nearest = [&](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
        for (size_t i = first; i < end; ++i)
        {
            SRayHit hit;
            TraceGrid<false>(scene, constants, list.origins[i], list.directions[i], hit);
            answers[i - first] = hit.ball;
        }
    };
    methods[kGrid].shadow = [&](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
        for (size_t i = first; i < end; ++i)
        {
            SRayHit hit;
            hit.t = kShadowReach;
            answers[i - first] =
                TraceGrid<true>(scene, constants, list.origins[i], list.directions[i], hit) ? 1 : 0;
        }
    };
    methods[kOurs].nearest = [&](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
        for (size_t i = first; i < end; ++i)
        {
            SRayHit hit;
            balls.Trace<false>(list.origins[i], list.directions[i], hit);
            answers[i - first] = hit.ball;
        }
    };
    methods[kOurs].shadow = [&](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
        for (size_t i = first; i < end; ++i)
        {
            SRayHit hit;
            hit.t = kShadowReach;
            answers[i - first] = balls.Trace<true>(list.origins[i], list.directions[i], hit) ? 1 : 0;
        }
    };
    // Eight consecutive rays of a kind as one packet, as the backend traces them.
    const auto packets = [&](bool anyHit) {
        return [&balls, anyHit](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
            for (size_t i = first; i < end; i += 8)
            {
                SRayPacket packet;
                SRayHit hits[8];
                const size_t count = std::min<size_t>(8, end - i);
                for (size_t lane = 0; lane < 8; ++lane)
                {
                    const size_t ray = i + (lane < count ? lane : 0);
                    packet.ox[lane] = list.origins[ray].x;
                    packet.oy[lane] = list.origins[ray].y;
                    packet.oz[lane] = list.origins[ray].z;
                    packet.dx[lane] = list.directions[ray].x;
                    packet.dy[lane] = list.directions[ray].y;
                    packet.dz[lane] = list.directions[ray].z;
                    hits[lane].t = anyHit ? kShadowReach : kNoHitDistance;
                }
                const unsigned active = (1u << count) - 1;
                const unsigned found = anyHit ? balls.TracePacket<true>(packet, active, hits)
                                              : balls.TracePacket<false>(packet, active, hits);
                for (size_t lane = 0; lane < count; ++lane)
                    answers[i - first + lane] = anyHit ? (found >> lane) & 1 : hits[lane].ball;
            }
        };
    };
    methods[kOursPacket].nearest = packets(false);
    methods[kOursPacket].shadow = packets(true);
    methods[kEmbreeSingle].nearest = [&](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
        for (size_t i = first; i < end; ++i)
            answers[i - first] =
                embree.Intersect(list.origins[i], list.directions[i], kEmbreeNear, kNoHitDistance);
    };
    methods[kEmbreeSingle].shadow = [&](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
        for (size_t i = first; i < end; ++i)
            answers[i - first] =
                embree.Occluded(list.origins[i], list.directions[i], kEmbreeNear, kShadowReach);
    };
    methods[kEmbreePacket].nearest = [&](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
        for (size_t i = first; i < end; i += 8)
            embree.Intersect8(&list.origins[i], &list.directions[i],
                              static_cast<int>(std::min<size_t>(8, end - i)), kEmbreeNear, kNoHitDistance,
                              answers + (i - first));
    };
    methods[kEmbreePacket].shadow = [&](const SRayList& list, size_t first, size_t end, uint32_t* answers) {
        for (size_t i = first; i < end; i += 8)
            embree.Occluded8(&list.origins[i], &list.directions[i],
                             static_cast<int>(std::min<size_t>(8, end - i)), kEmbreeNear, kShadowReach,
                             answers + (i - first));
    };
    for (int round = 0; round < rounds; ++round)
        for (SMethod& method : methods)
            RunMethod(workers, rays, method);
}

// The machine's load average over the last minute.
double LoadAverage()
{
    double load = -1.0;
    if (std::FILE* file = std::fopen("/proc/loadavg", "r"))
    {
        if (std::fscanf(file, "%lf", &load) != 1)
            load = -1.0;
        std::fclose(file);
    }
    return load;
}
}

int main(int argc, char** argv)
{
    const int frames = argc > 1 ? std::max(1, std::atoi(argv[1])) : 3;
    const char* only = argc > 2 ? argv[2] : nullptr; // a part of one scene's name
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

    std::printf("CPU backend, %u threads, %s walk, %ux%u, %d frames per scene (Embree %s)\n\n", threads,
                cpu.GetBallQuery().walk.name, kWidth, kHeight, frames, RTC_VERSION_STRING);
    std::printf("%-16s %6s %9s %7s %8s %7s | %8s %8s %8s %8s %8s %6s %6s %7s %6s %6s %5s\n", "scene", "balls",
                "frame ms", "cpu ms", "Mrays/s", "tree ms", "grid M/s", "ours M/s", "ours1", "E1 M/s",
                "E8 M/s", "ratio", "cpu r", "bvh ms", "agree", "=grid", "load");
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
        const SBvhQuery balls = cpu.GetBallQuery();
        SKernelConstants constants = tracer.GetConstants();
        TracePacketRect(view, constants, balls, 0, kWidth, 0, kHeight, 1.0f / kWidth, 1.0f / kHeight,
                        scratch.data(), kWidth, recorded);
        CEmbreeSpheres embree(tracer.GetSpheres().data(), count, threads);
        if (!embree.IsValid())
            return 1;
        SMethod methods[kMethods];
        Compare(workers, view, constants, balls, recorded, embree, frames, methods);

        const double rays =
            static_cast<double>(recorded.primary.Size() + recorded.bounce.Size() + recorded.shadow.Size());
        double rate[kMethods];
        for (int m = 0; m < kMethods; ++m)
            rate[m] = rays / methods[m].seconds * 1e-6;
        const double total = static_cast<double>(f.rays.primary + f.rays.shadow + f.rays.bounce);
        std::printf("%-16s %6u %9.1f %7.1f %8.2f %7.2f | %8.2f %8.2f %8.2f %8.2f %8.2f %6.2f %6.2f %7.2f "
                    "%5.1f%% %5.1f%% %5.1f\n",
                    scene.name, count, f.frameSeconds * 1e3, f.cpuSeconds * 1e3,
                    total / f.frameSeconds * 1e-6, f.treeSeconds * 1e3, rate[kGrid], rate[kOursPacket],
                    rate[kOurs], rate[kEmbreeSingle], rate[kEmbreePacket],
                    rate[kOursPacket] / std::max(rate[kEmbreeSingle], rate[kEmbreePacket]),
                    std::min(methods[kEmbreeSingle].cpuSeconds, methods[kEmbreePacket].cpuSeconds) /
                        methods[kOursPacket].cpuSeconds,
                    embree.GetBuildMs(), Agreement(methods[kOursPacket], methods[kEmbreeSingle]) * 100.0,
                    std::min(Agreement(methods[kOursPacket], methods[kGrid]),
                             Agreement(methods[kOurs], methods[kGrid])) *
                        100.0,
                    LoadAverage());
    }
    std::printf(
        "\nframe ms: grid and hierarchy build and trace of the fastest frame (cpu ms: processor time of all\n"
        "threads); Mrays/s: all rays of that frame; tree ms: grid and hierarchy build.\n"
        "M/s: one frame's recorded rays (camera, shadow and mirror rays, each kind in the order the backend\n"
        "traces them) through the grid, our hierarchy in packets of eight consecutive rays of a kind\n"
        "(ours, as the backend traces them) and one ray at a time (ours1), Embree's single-ray queries (E1)\n"
        "and its 8-ray packets (E8, the same packets) on the same threads, fastest round each;\n"
        "ratio = ours / the faster Embree query; cpu r: the same by the workers' processor time;\n"
        "agree: our answers equal to Embree's; =grid: both of our walks' answers equal to the grid's\n"
        "(the lower share); load: 1-minute load average.\n");
    return 0;
}
