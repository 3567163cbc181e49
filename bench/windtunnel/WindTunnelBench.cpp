// The wind tunnel's speed: million lattice updates per second (MLUPS) of the flow on the
// show's grid (the generated "car7b.ppm") and on a grid too large for the caches, the whole
// step with its 20000 particles, and the share of this machine's memory bandwidth that the
// flow's traffic takes. The bandwidth is measured here with a large copy. Times are the CPU
// time of the benchmark's thread, so that other work on a shared machine does not count.
//
//   windtunnel_bench [seconds per figure, default 2]
#include "brovell/windtunnel/WindTunnel.h"
#include "car/CarAssets.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <vector>

namespace
{

// Bytes one lattice update moves at least: 9 distributions read and 9 written, the flag
// read, the two velocity components written.
constexpr double kBytesPerUpdate = 9 * 4 + 9 * 4 + 4 + 2 * 4;

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + 1e-9 * static_cast<double>(now.tv_nsec);
}

// Runs body until minSeconds have passed; returns calls per second.
template <typename Body>
double Rate(double minSeconds, Body body)
{
    body(); // warm the caches and the pages
    long calls = 0;
    const double start = ThreadSeconds();
    double elapsed = 0.0;
    do
    {
        body();
        ++calls;
        elapsed = ThreadSeconds() - start;
    } while (elapsed < minSeconds);
    return static_cast<double>(calls) / elapsed;
}

// Copy bandwidth (bytes read plus bytes written per second) over buffers far larger than
// the caches, the best of several rounds.
double CopyBandwidth(double minSeconds)
{
    const size_t bytes = size_t{512} << 20;
    std::vector<char> from(bytes, 1);
    std::vector<char> to(bytes, 0);
    const double copies = Rate(minSeconds, [&] {
        std::memcpy(to.data(), from.data(), bytes);
        from[0] = to[bytes - 1];
    });
    return copies * 2.0 * static_cast<double>(bytes);
}

SCellGrid ShowGrid()
{
    SCellGrid grid;
    std::string error;
    if (!ParseCellText(car::MakeCellFileText(), grid, error))
    {
        std::fprintf(stderr, "windtunnel_bench: the generated cell file does not parse: %s\n", error.c_str());
        std::exit(1);
    }
    return grid;
}

// A channel too large for the caches, with a block in it.
SCellGrid LargeGrid()
{
    constexpr int32_t kWidth = 2048;
    constexpr int32_t kHeight = 1024;
    SCellGrid grid{kWidth, kHeight, std::vector<int32_t>(static_cast<size_t>(kWidth) * kHeight, 1)};
    for (int32_t x = 0; x < kWidth; ++x)
        for (int32_t y = 0; y < kHeight; ++y)
        {
            const bool wall = y == 0 || y == kHeight - 1;
            const bool block = x >= 800 && x < 1000 && y >= 400 && y < 600;
            grid.m_Flags[static_cast<size_t>(x) * kHeight + y] = wall || block ? 2 : 1;
        }
    return grid;
}
}

int main(int argc, char** argv)
{
    const double minSeconds = argc > 1 ? std::atof(argv[1]) : 2.0;
    const double bandwidth = CopyBandwidth(minSeconds);
    std::printf("memory copy bandwidth (read + write): %.2f GB/s\n\n", bandwidth * 1e-9);
    std::printf("%-26s %10s %12s %10s %14s\n", "grid", "cells", "steps/s", "MLUPS", "bandwidth share");

    struct SCase
    {
        const char* m_Name;
        SCellGrid m_Grid;
    };
    SCase cases[] = {{"show (car7b.ppm)", ShowGrid()}, {"large channel", LargeGrid()}};
    for (SCase& test : cases)
    {
        CRandom15 random;
        CWindTunnel tunnel(random);
        const double cells = static_cast<double>(test.m_Grid.m_Width) * test.m_Grid.m_Height;
        char name[64];
        std::snprintf(name, sizeof(name), "%s %dx%d", test.m_Name, test.m_Grid.m_Width, test.m_Grid.m_Height);
        tunnel.Setup(std::move(test.m_Grid));
        const double steps = Rate(minSeconds, [&] { tunnel.StepFlow(); });
        const double mlups = steps * cells * 1e-6;
        std::printf("%-26s %10.0f %12.1f %10.1f %13.1f%%\n", name, cells, steps, mlups,
                    100.0 * mlups * 1e6 * kBytesPerUpdate / bandwidth);
    }

    // The scene's whole step: flow and 20000 particles, the particles moving at show speed.
    CRandom15 random;
    CWindTunnel tunnel(random);
    tunnel.Setup(ShowGrid());
    tunnel.SetRespawnMode(1);
    for (int step = 0; step < 200; ++step)
        tunnel.Step(0.0f);
    float time = 0.0f;
    const double frames = Rate(minSeconds, [&] { tunnel.Step(time += 800.0f / 60.0f); });
    std::printf("\nscene step (flow and %d particles): %.3f ms\n", CWindTunnel::kParticleCount, 1e3 / frames);
    return 0;
}
