#include "kelvo/gpu/TraceGeometry.h"

#include <atomic>
#include <thread>
#include <vector>

#include "TreeTestHelpers.h"

#include <gtest/gtest.h>

TEST(TraceGeometryConcurrency, ThreadsTracingAnUnbuiltMeshBuildItOnce)
{
    // A strip of 200 triangles along x in the plane z = 0.
    SMeshData strip;
    for (uint32_t i = 0; i < 200; ++i)
    {
        const float x = static_cast<float>(i);
        strip.positions.insert(strip.positions.end(), {{x, 0, 0, 1}, {x + 1, 0, 0, 1}, {x, 1, 0, 1}});
        strip.indices.insert(strip.indices.end(), {3 * i, 3 * i + 1, 3 * i + 2});
    }
    const STraceSource source = strip.Source();

    CTraceGeometry geometry;
    std::atomic<int> hits = 0;
    std::vector<std::thread> threads;
    for (int t = 0; t < 4; ++t)
        threads.emplace_back([&, t] {
            for (int r = 0; r < 200; ++r)
            {
                geometry.EnsureBuilt(source);
                const uint32_t target = static_cast<uint32_t>((r * 7 + t) % 200);
                const float x = static_cast<float>(target) + 0.2f;
                STraceMeshHit hit;
                if (geometry.Trace({{x, 0.2f, 1, 1}, {0, 0, -2, 0}, 2.0f}, hit) &&
                    hit.triangle->index == target)
                    ++hits;
            }
        });
    for (std::thread& thread : threads)
        thread.join();
    EXPECT_EQ(geometry.GetBuildCount(), 1u);
    EXPECT_EQ(hits.load(), 800);
}
