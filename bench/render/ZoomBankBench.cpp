// The zoom bank's build on the headless GL context: reading the averages back from the last
// mip level, the colour table computed (and cached) or read from the cache file, and the
// upload, on the generated "zoom2color.png" (loaded once beforehand). Also the table's
// computation and the cache file's read alone.
//   zoom_bank_bench [--benchmark_...]    run from anywhere; reads the build's data folder
#include "../../tests/kelvo/gpu/gl/GLBackendFixture.h"

#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/render/ZoomBankCache.h"
#include "kelvo/render/ZoomBankTable.h"
#include "kelvo/render/ZoomPhase.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <unistd.h>

namespace fs = std::filesystem;

namespace
{
// A data folder of its own with a copy of the bank, so that the build's cache stays as it is.
const fs::path& BenchFolder()
{
    static const fs::path folder = [] {
        const fs::path path = fs::temp_directory_path() / ("zoom_bank_bench_" + std::to_string(getpid()));
        fs::create_directories(path);
        fs::copy_file(fs::path(BROVELL_DATA_DIR) / "zoom2color.png", path / "zoom2color.png",
                      fs::copy_options::overwrite_existing);
        CResourceManager::Instance().ScanDirectory(path.string());
        return path;
    }();
    return folder;
}

void BankBuild(benchmark::State& state, bool cached)
{
    CGLTestContext context;
    std::string error;
    if (!context.Create(64, 64, error))
    {
        state.SkipWithError(("no GL context: " + error).c_str());
        return;
    }
    CTestWindow window(&context);
    const fs::path cache = BenchFolder() / "bank.dsc";
    auto* backend = new CGPUImplementationGL();
    GPUObjectHandle bank;
    if (backend->Initialize(&window, true) != 0 || backend->LoadTexture("zoom2color.png", bank) != 0)
    {
        state.SkipWithError("the GL backend or the bank did not load");
        delete backend;
        return;
    }
    for (auto _ : state)
    {
        state.PauseTiming();
        if (!cached)
            fs::remove(cache);
        {
            CZoomPhase zoom;
            state.ResumeTiming();
            zoom.SetBankTexture("zoom2color.png");
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
    backend->ReleaseResource(&bank);
    delete backend;
}

void BankBuildComputed(benchmark::State& state)
{
    BankBuild(state, false);
}

void BankBuildFromCache(benchmark::State& state)
{
    BankBuild(state, true);
}

void TableOnly(benchmark::State& state)
{
    std::vector<uint32_t> averages;
    for (uint32_t i = 0; i < 64; ++i)
        averages.push_back(0xFF000000u | ((i % 4) * 0x550000u) | ((i / 4 % 4) * 0x5500u) | (i / 16 * 0x55u));
    for (auto _ : state)
        benchmark::DoNotOptimize(BuildZoomBankTable(averages));
}

void CacheReadOnly(benchmark::State& state)
{
    const std::string path = (BenchFolder() / "bank_read.dsc").string();
    std::vector<uint32_t> table(kZoomTableEntries, 1);
    WriteZoomBankFile(path, table);
    for (auto _ : state)
        benchmark::DoNotOptimize(ReadZoomBankFile(path, table));
}
}

BENCHMARK(BankBuildComputed)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(BankBuildFromCache)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(10);
BENCHMARK(TableOnly)->Unit(benchmark::kMillisecond)->Iterations(10);
BENCHMARK(CacheReadOnly)->Unit(benchmark::kMillisecond)->Iterations(20);

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::error_code ignored;
    fs::remove_all(BenchFolder(), ignored);
    return 0;
}
