// The CPU backend's ball hierarchy against the grid (the reference path): one ray at a time and
// in packets, with both instruction sets, nearest and any hit; and the backend's frames, traced
// eight pixels at a time, against the one-ray shading path through the grid.
#include "BenchScenes.h"
#include "TestScene.h"

#include "quellbeam/BackendFactory.h"
#include "quellbeam/cpu/CpuBackend.h"
#include "quellbeam/cpu/PacketShading.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>

using namespace quellbeam;
using namespace quellbeam::test;

namespace
{
// Balls in a few clusters of mixed sizes: overlapping, nested and duplicated balls included.
std::vector<SVec4> RandomBalls(std::mt19937& engine, uint32_t count)
{
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    std::normal_distribution<float> normal(0.0f, 1.0f);
    std::vector<SVec4> spheres;
    const int clusters = 1 + static_cast<int>(engine() % 5);
    for (uint32_t i = 0; i < count; ++i)
    {
        if (i > 0 && engine() % 50 == 0)
        {
            spheres.push_back(spheres[engine() % i]);
            continue;
        }
        const float cluster = static_cast<float>(i % clusters);
        const float spread = 2.0f + 20.0f * unit(engine);
        spheres.push_back(SVec4{
            30.0f * cluster - 40.0f + spread * normal(engine), 10.0f * cluster + spread * normal(engine),
            -15.0f * cluster + spread * normal(engine), 0.05f + 3.0f * unit(engine) * unit(engine)});
    }
    return spheres;
}

struct SRandomRay
{
    SVec3 origin;
    SVec3 direction;
    float bound;
};

// From inside and around the cube; half aimed at a ball, some along an axis, some bounded short.
SRandomRay RandomRay(std::mt19937& engine, const std::vector<SVec4>& spheres, float lo, float hi)
{
    std::uniform_real_distribution<float> position(lo - 0.3f * (hi - lo), hi + 0.3f * (hi - lo));
    std::normal_distribution<float> normal(0.0f, 1.0f);
    SRandomRay ray;
    ray.origin = Vec3(position(engine), position(engine), position(engine));
    ray.direction = Vec3(normal(engine), normal(engine), normal(engine));
    if (engine() % 2 == 0)
    {
        const SVec4& target = spheres[engine() % spheres.size()];
        ray.direction = Xyz(target) - ray.origin + ray.direction * target.w;
    }
    if (engine() % 8 == 0)
    {
        const int keep = static_cast<int>(engine() % 3);
        ray.direction = Vec3(keep == 0 ? ray.direction.x : 0.0f, keep == 1 ? ray.direction.y : 0.0f,
                             keep == 2 ? ray.direction.z : 0.0f);
    }
    ray.bound =
        engine() % 4 == 0 ? 0.2f + std::uniform_real_distribution<float>(0.0f, 2.0f)(engine) : kNoHitDistance;
    return ray;
}

// The same ball, or a duplicate of it (duplicates tie, and either may be named).
bool SameBall(const std::vector<SVec4>& spheres, uint32_t a, uint32_t b)
{
    return a == b ||
           (a != kNoBall && b != kNoBall && std::memcmp(&spheres[a], &spheres[b], sizeof(SVec4)) == 0);
}

std::vector<SBvhTraceFunctions> Walks()
{
    std::vector<SBvhTraceFunctions> walks = {GetBvhTraceSse()};
    if (HasAvx2())
        walks.push_back(GetBvhTraceAvx2());
    return walks;
}
}

TEST(BallHierarchy, FindsTheGridsHitsOneRayAtATimeAndInPackets)
{
    std::mt19937 engine(2024);
    int hits = 0, blocked = 0;
    for (const uint32_t count : {1u, 7u, 90u, 700u, 2500u})
    {
        const std::vector<SVec4> spheres = RandomBalls(engine, count);
        float lo, hi;
        FitCube(spheres, lo, hi);
        CTestScene scene;
        scene.Build(spheres, {}, lo, hi);
        ASSERT_TRUE(scene.complete);
        CBallBvh bvh;
        bvh.Build(spheres.data(), count, lo, hi);
        for (const SBvhTraceFunctions& walk : Walks())
        {
            const SBvhQuery query{bvh.View(), walk};
            for (int packetIndex = 0; packetIndex < 150; ++packetIndex)
            {
                // Nearest hits, then the same rays as shadow rays to a point along them.
                SRayPacket packet, shadowPacket;
                SRayHit nearest[8], shadow[8], expected[8];
                bool expectedBlocked[8];
                unsigned active = engine() % 255 + 1;
                for (uint32_t lane = 0; lane < 8; ++lane)
                {
                    const SRandomRay ray = RandomRay(engine, spheres, lo, hi);
                    packet_detail::SetLane(packet, lane, ray.origin, ray.direction);
                    const SVec3 toLight = ray.direction * (0.5f + 40.0f * static_cast<float>(engine() % 8));
                    packet_detail::SetLane(shadowPacket, lane, ray.origin, toLight);
                    expected[lane].t = nearest[lane].t = ray.bound;
                    TraceGrid<false>(scene.View(), scene.constants, ray.origin, ray.direction,
                                     expected[lane]);
                    SRayHit reference;
                    reference.t = shadow[lane].t = kShadowReach;
                    expectedBlocked[lane] =
                        TraceGrid<true>(scene.View(), scene.constants, ray.origin, toLight, reference);

                    SRayHit single;
                    single.t = ray.bound;
                    EXPECT_EQ(query.Trace<false>(ray.origin, ray.direction, single),
                              expected[lane].ball != kNoBall);
                    EXPECT_TRUE(SameBall(spheres, single.ball, expected[lane].ball)) << walk.name;
                    EXPECT_EQ(single.t, expected[lane].t) << walk.name;
                    SRayHit any;
                    any.t = kShadowReach;
                    EXPECT_EQ(query.Trace<true>(ray.origin, toLight, any), expectedBlocked[lane])
                        << walk.name;
                }
                const unsigned found = query.TracePacket<false>(packet, active, nearest);
                const unsigned occluded = query.TracePacket<true>(shadowPacket, active, shadow);
                for (uint32_t lane = 0; lane < 8; ++lane)
                {
                    const bool used = ((active >> lane) & 1) != 0;
                    const bool hit = used && expected[lane].ball != kNoBall;
                    const bool isBlocked = used && expectedBlocked[lane];
                    EXPECT_EQ(((found >> lane) & 1) != 0, hit) << walk.name;
                    EXPECT_EQ(((occluded >> lane) & 1) != 0, isBlocked) << walk.name;
                    if (hit)
                    {
                        EXPECT_TRUE(SameBall(spheres, nearest[lane].ball, expected[lane].ball)) << walk.name;
                        EXPECT_EQ(nearest[lane].t, expected[lane].t) << walk.name;
                    }
                    else
                        EXPECT_EQ(nearest[lane].ball, kNoBall);
                    hits += hit ? 1 : 0;
                    blocked += isBlocked ? 1 : 0;
                }
                if (testing::Test::HasFailure())
                    return;
            }
        }
    }
    // Plenty of both answers were checked.
    EXPECT_GT(hits, 1000);
    EXPECT_GT(blocked, 1000);
}

TEST(BallHierarchy, LeavesOutWhatTheGridLeavesOut)
{
    // Balls beyond the cube, and an empty cube, are never found.
    CBallBvh bvh;
    const std::vector<SVec4> spheres = {SVec4{0, 0, 0, 1}, SVec4{50, 0, 0, 1}};
    bvh.Build(spheres.data(), 2, -10.0f, 10.0f);
    const SBvhQuery query{bvh.View(), GetBvhTrace()};
    SRayHit hit;
    EXPECT_FALSE(query.Trace<false>(Vec3(40, 0, 0), Vec3(1, 0, 0), hit));
    EXPECT_TRUE(query.Trace<false>(Vec3(-40, 0, 0), Vec3(1, 0, 0), hit));
    EXPECT_EQ(hit.ball, 0u);
    bvh.Build(spheres.data(), 2, 10.0f, 10.0f);
    SRayHit none;
    EXPECT_FALSE((SBvhQuery{bvh.View(), GetBvhTrace()}.Trace<false>(Vec3(-40, 0, 0), Vec3(1, 0, 0), none)));
}

TEST(CpuBackend, FramesEqualTheOneRayShadingThroughTheGrid)
{
    constexpr uint32_t kWidth = 160, kHeight = 120;
    CMemoryTexture output(kWidth, kHeight, kTracerTextureFloat4);
    CMemoryTexture input(4, 4, kTracerTextureFloat4);
    CMemoryTexture floor(64, 64, kTracerTextureArgb8);
    bench::PaintBenchFloor(floor);
    for (const bench::SBenchScene& benchScene : bench::MakeBenchScenes())
    {
        CGeomTracer tracer(&CreateCpuBackend, &CreateCpuBackend);
        tracer.SetGLData(&output, &input);
        ASSERT_TRUE(tracer.SetScreenSize(kWidth, kHeight));
        benchScene.setUp(tracer, floor);
        tracer.Prepare();
        tracer.SetView(&benchScene.view);
        tracer.Trace();
        tracer.Finish();
        auto& cpu = static_cast<CCpuBackend&>(*tracer.GetBackend());
        const SSceneView view = cpu.GetSceneView(static_cast<uint32_t>(tracer.GetSpheres().size()));
        const SKernelConstants& constants = tracer.GetConstants();
        std::vector<SVec4> expected(kWidth * kHeight);
        SRayCounts counts = {};
        TraceRect(view, constants, 0, kWidth, 0, kHeight, 1.0f / kWidth, 1.0f / kHeight, expected.data(),
                  kWidth, counts, SGridQuery{view, constants});
        for (uint32_t y = 0; y < kHeight; ++y)
            for (uint32_t x = 0; x < kWidth; ++x)
                ASSERT_EQ(std::memcmp(output.Texel(x, y), &expected[y * kWidth + x], sizeof(SVec4)), 0)
                    << benchScene.name << " pixel " << x << ", " << y;
        const SRayCounts traced = cpu.GetRayCounts();
        EXPECT_EQ(std::memcmp(&traced, &counts, sizeof(counts)), 0) << benchScene.name << ": ray counts";
    }
}
