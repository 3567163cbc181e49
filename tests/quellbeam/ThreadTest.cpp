// Threads of the tracer: the CPU backend's worker pool and the scene update racing the render
// thread.
#include "quellbeam/MemoryTexture.h"
#include "quellbeam/cpu/CpuBackend.h"
#include "quellbeam/cpu/WorkerPool.h"
#include "quellbeam/host/GeomTracer.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

using namespace quellbeam;

namespace
{
std::unique_ptr<ITracerBackend> MakeCpu()
{
    return std::make_unique<CCpuBackend>(3);
}
}

TEST(WorkerPool, EveryWorkerRunsEveryJobAndRunWaitsForAll)
{
    CWorkerPool pool(3);
    ASSERT_EQ(pool.GetThreadCount(), 3u);
    struct SSeen
    {
        std::atomic<int> runs{0};
        std::atomic<uint32_t> workers{0};
    } seen;
    for (int job = 0; job < 50; ++job)
        pool.Run(
            [](void* context, uint32_t worker) {
                static_cast<SSeen*>(context)->runs.fetch_add(1);
                static_cast<SSeen*>(context)->workers.fetch_or(1u << worker);
            },
            &seen);
    EXPECT_EQ(seen.runs.load(), 150);
    EXPECT_EQ(seen.workers.load(), 7u);
}

TEST(GeomTracer, SceneUpdateOnAWorkerRacesNothingOnTheRenderThread)
{
    CGeomTracer tracer(&MakeCpu, &MakeCpu);
    CMemoryTexture output(128, 8, kTracerTextureFloat4);
    tracer.SetGLData(&output, &output);
    tracer.SetScreenSize(128, 8);
    tracer.StartBallSimulation(5);
    const float gravity[3] = {1, -1, 0};
    // The scene's frame: the previous Update runs on a worker while the script sets the clock,
    // the gravity and the mode; the upload waits for the worker.
    for (int frame = 1; frame <= 6; ++frame)
    {
        std::thread worker([&] { tracer.Update(); });
        tracer.SetTime(0.05f * frame);
        tracer.SetGravity(gravity);
        if (frame < 4)
            tracer.StartBallSimulation(5);
        else
            tracer.StartJugglerField();
        worker.join();
        tracer.UploadSpheres();
    }
    EXPECT_EQ(tracer.GetMode(), ESceneMode::JugglerField);
    EXPECT_EQ(tracer.GetSpheres().size(), tracer.GetInstances().size() * CJugglerModel::kSpheres);
}
