// Frames per second of the game render process with an empty world (scene-pass set-up,
// logo, overlays and the frame-rate text) in a 1280 x 720 window on the headless GL context.
//   render_bench [--benchmark_...]    run from anywhere; reads the build's data folder
#include "../../tests/kelvo/gpu/gl/GLBackendFixture.h"

#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/render/GameRenderProcess.h"
#include "kelvo/render/KelvoRenderer.h"

#include <benchmark/benchmark.h>

#include <cstdio>

namespace
{
constexpr uint32_t kWidth = 1280;
constexpr uint32_t kHeight = 720;

void EmptyGameRenderProcess(benchmark::State& state)
{
    CGLTestContext context;
    std::string error;
    if (!context.Create(kWidth, kHeight, error))
    {
        state.SkipWithError(("no GL context: " + error).c_str());
        return;
    }
    CTestWindow window(&context);
    window.m_ClientWidth = kWidth;
    window.m_ClientHeight = kHeight;
    CResourceManager::Instance().ScanDirectory(BROVELL_DATA_DIR);
    auto* backend = new CGPUImplementationGL();
    if (backend->Initialize(&window, true) != 0)
    {
        state.SkipWithError("the GL backend did not start");
        delete backend;
        return;
    }
    {
        CKelvoRenderer renderer(backend, nullptr);
        CGameRenderProcess process;
        renderer.SetRenderProcess(&process);
        renderer.SetScreenSize(kWidth, kHeight);
        for (auto _ : state)
        {
            renderer.DrawText({0, 0, 0, 0}, "fps: 60.00", 0);
            renderer.RenderFrame();
        }
        state.counters["fps"] =
            benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
    }
    delete backend;
}
}

BENCHMARK(EmptyGameRenderProcess)->Unit(benchmark::kMillisecond)->UseRealTime()->MinTime(3.0);

BENCHMARK_MAIN();
