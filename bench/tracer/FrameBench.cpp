// tracer_frame_bench [frames] [--cpu]: traces the demo's four ball scenes at 1280 x 960 on the
// library's preferred backend (CUDA when a device is found, else the CPU; --cpu forces the
// CPU) through headless textures, and prints the median frame split into tree build, trace and
// copy (mapping the output and handing the picture to its texture), with pixel and ray rates.
#include "BenchScenes.h"

#include "quellbeam/BackendFactory.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

using namespace quellbeam;
using namespace bench;

namespace
{
constexpr uint32_t kWidth = 1280;
constexpr uint32_t kHeight = 960;

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::time_point start, Clock::time_point end)
{
    return std::chrono::duration<double, std::milli>(end - start).count();
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

struct SFrameSplit
{
    double tree;
    double trace;
    double copy;
    double total;
};

// One frame as CGeomTracer::Trace runs it, with the backend's steps timed one by one.
bool TimeFrame(CGeomTracer& tracer, const SViewBlock& view, SFrameSplit& split)
{
    ITracerBackend& backend = *tracer.GetBackend();
    const uint32_t count = static_cast<uint32_t>(tracer.GetSpheres().size());
    uint32_t descriptor[kTreeDescriptorWords];
    const Clock::time_point start = Clock::now();
    tracer.Prepare();
    tracer.SetView(&view);
    const Clock::time_point treeStart = Clock::now();
    const int treeError = backend.BuildTree(count, descriptor);
    const Clock::time_point traceStart = Clock::now();
    const int traceError = backend.TraceFrame(count, kWidth, kHeight);
    const Clock::time_point copyStart = Clock::now();
    tracer.Finish();
    const Clock::time_point end = Clock::now();
    if (treeError != 0 || traceError != 0)
    {
        std::fprintf(stderr, "tracer_frame_bench: tree %i (%s), trace %i (%s)\n", treeError,
                     backend.DescribeError(treeError), traceError, backend.DescribeError(traceError));
        return false;
    }
    split = {Milliseconds(treeStart, traceStart), Milliseconds(traceStart, copyStart),
             Milliseconds(start, treeStart) + Milliseconds(copyStart, end), Milliseconds(start, end)};
    return true;
}
}

int main(int argc, char** argv)
{
    int frames = 10;
    bool cpuOnly = false;
    for (int i = 1; i < argc; ++i)
    {
        if (std::strcmp(argv[i], "--cpu") == 0)
            cpuOnly = true;
        else
            frames = std::max(1, std::atoi(argv[i]));
    }

    CMemoryTexture output(kWidth, kHeight, kTracerTextureFloat4);
    CMemoryTexture input(4, 4, kTracerTextureFloat4);
    CMemoryTexture floor(64, 64, kTracerTextureArgb8);
    PaintBenchFloor(floor);
    CGeomTracer tracer(cpuOnly ? &CreateCpuBackend : &CreatePreferredBackend, &CreateCpuBackend);
    tracer.SetGLData(&output, &input);
    if (!tracer.IsReady() || !tracer.SetScreenSize(kWidth, kHeight))
    {
        std::fprintf(stderr, "tracer_frame_bench: no backend started\n");
        return 1;
    }

    std::printf("%s backend, %ux%u, median of %d frames per scene\n\n", tracer.GetBackend()->GetName(),
                kWidth, kHeight, frames);
    std::printf("%-16s %6s %9s %9s %9s %9s %8s %8s\n", "scene", "balls", "tree ms", "trace ms", "copy ms",
                "frame ms", "Mpx/s", "Mrays/s");
    for (const SBenchScene& scene : MakeBenchScenes())
    {
        scene.setUp(tracer, floor);
        std::vector<double> tree, trace, copy, total;
        for (int frame = -1; frame < frames; ++frame) // frame -1 warms up
        {
            SFrameSplit split;
            if (!TimeFrame(tracer, scene.view, split))
                return 1;
            if (frame < 0)
                continue;
            tree.push_back(split.tree);
            trace.push_back(split.trace);
            copy.push_back(split.copy);
            total.push_back(split.total);
        }
        const SRayCounts rays = tracer.GetBackend()->GetRayCounts();
        const double frameMs = Median(total);
        const double pixels = static_cast<double>(kWidth) * kHeight;
        const double allRays = static_cast<double>(rays.primary + rays.shadow + rays.bounce);
        std::printf("%-16s %6zu %9.3f %9.3f %9.3f %9.3f %8.1f %8.1f\n", scene.name,
                    tracer.GetSpheres().size(), Median(tree), Median(trace), Median(copy), frameMs,
                    pixels / frameMs * 1e-3, allRays / frameMs * 1e-3);
    }
    std::printf(
        "\ntree: both tree levels and the descriptor copy; trace: the trace launch until the picture is\n"
        "complete; copy: mapping the output and handing the picture to its texture (device to host\n"
        "here: the textures are headless); frame = all three; Mpx/s and Mrays/s over the frame.\n");
    return 0;
}
