// The world space with 10,000 moving boxes: the cost of the per-frame refresh and of ray
// traces, against a loop over every box; and the trace geometry of a triangle soup.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <memory>
#include <random>
#include <vector>

#include "kelvo/core/GameObject.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/3DSpace.h"
#include "kelvo/gpu/TraceGeometry.h"

namespace
{
constexpr int kBoxCount = 10000;
constexpr float kWorldExtent = 95.0f;

float Uniform(std::mt19937& random, float low, float high)
{
    return std::uniform_real_distribution<float>(low, high)(random);
}

SRay RandomRay(std::mt19937& random, float length)
{
    SRay ray;
    ray.origin = {Uniform(random, -kWorldExtent, kWorldExtent), Uniform(random, -kWorldExtent, kWorldExtent),
                  Uniform(random, -kWorldExtent, kWorldExtent), 1.0f};
    const SVector3 direction =
        Normalize({Uniform(random, -1, 1), Uniform(random, -1, 1), Uniform(random, -1, 1)});
    ray.direction = {direction.x * length, direction.y * length, direction.z * length, 0.0f};
    ray.length = length;
    return ray;
}

// Distance along the segment to where it enters the object's world box.
bool EntersWorldBox(const SRay& ray, C3DObjectLogic& object, kelvo::trace_hit_t& hit)
{
    const SBox& box = object.GetTransformState().worldBox;
    const float o[3] = {ray.origin.x, ray.origin.y, ray.origin.z};
    const float d[3] = {ray.direction.x, ray.direction.y, ray.direction.z};
    const float lo[3] = {box.min.x, box.min.y, box.min.z};
    const float hi[3] = {box.max.x, box.max.y, box.max.z};
    float enter = 0.0f, exit = 1.0f;
    for (int axis = 0; axis < 3; ++axis)
    {
        if (d[axis] == 0.0f)
        {
            if (o[axis] < lo[axis] || o[axis] > hi[axis])
                return false;
            continue;
        }
        float a = (lo[axis] - o[axis]) / d[axis], b = (hi[axis] - o[axis]) / d[axis];
        if (a > b)
            std::swap(a, b);
        enter = std::max(enter, a);
        exit = std::min(exit, b);
    }
    if (enter > exit)
        return false;
    hit.distance = enter * ray.length;
    hit.payload = &object;
    return true;
}

// 10,000 unit boxes drifting through the space, each with its own velocity.
struct SMovingWorld
{
    SMovingWorld()
        : space({{-100, -100, -100, 1}, {100, 100, 100, 1}})
    {
        std::mt19937 random(7);
        for (int i = 0; i < kBoxCount; ++i)
        {
            auto object = std::make_unique<CGameObject>();
            C3DObjectLogic* logic = object->AddLogic<C3DObjectLogic>();
            STransformState state = logic->GetTransformState();
            state.local = MatrixTranslation(Uniform(random, -kWorldExtent, kWorldExtent),
                                            Uniform(random, -kWorldExtent, kWorldExtent),
                                            Uniform(random, -kWorldExtent, kWorldExtent));
            logic->SetTransformState(state);
            logic->Update();
            space.Insert(logic);
            velocities.push_back(
                {Uniform(random, -0.3f, 0.3f), Uniform(random, -0.3f, 0.3f), Uniform(random, -0.3f, 0.3f)});
            logics.push_back(logic);
            objects.push_back(std::move(object));
        }
    }
    ~SMovingWorld()
    {
        for (C3DObjectLogic* logic : logics)
            delete logic;
    }

    // One frame of movement: every box steps, bouncing off the walls.
    void Move()
    {
        for (std::size_t i = 0; i < logics.size(); ++i)
        {
            STransformState& state = logics[i]->GetTransformState();
            float* position = &state.local.m[12];
            float* velocity = &velocities[i].x;
            for (int axis = 0; axis < 3; ++axis)
            {
                position[axis] += velocity[axis];
                if (position[axis] > kWorldExtent || position[axis] < -kWorldExtent)
                    velocity[axis] = -velocity[axis];
            }
            logics[i]->Update();
        }
    }

    C3DSpace space;
    std::vector<std::unique_ptr<CGameObject>> objects;
    std::vector<C3DObjectLogic*> logics;
    std::vector<SVector3> velocities;
};

void SpaceRefresh(benchmark::State& state)
{
    SMovingWorld world;
    for (auto _ : state)
    {
        state.PauseTiming();
        world.Move();
        state.ResumeTiming();
        world.space.Refresh();
    }
    state.counters["boxes"] = kBoxCount;
}
BENCHMARK(SpaceRefresh)->Unit(benchmark::kMillisecond);

void SpaceMoveAndRefresh(benchmark::State& state)
{
    SMovingWorld world;
    for (auto _ : state)
    {
        world.Move();
        world.space.Refresh();
    }
}
BENCHMARK(SpaceMoveAndRefresh)->Unit(benchmark::kMillisecond);

// state.range(0): the ray length.
void SpaceTrace(benchmark::State& state)
{
    SMovingWorld world;
    world.space.Refresh();
    std::mt19937 random(11);
    int hits = 0;
    for (auto _ : state)
    {
        kelvo::trace_hit_t hit;
        hits += world.space.Tree::Trace(RandomRay(random, static_cast<float>(state.range(0))), hit,
                                        EntersWorldBox);
        benchmark::DoNotOptimize(hit);
    }
    state.counters["hit_rate"] = static_cast<double>(hits) / static_cast<double>(state.iterations());
}
BENCHMARK(SpaceTrace)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond);

// The same rays against every box in turn, for scale.
void SpaceTraceBruteForce(benchmark::State& state)
{
    SMovingWorld world;
    std::mt19937 random(11);
    for (auto _ : state)
    {
        const SRay ray = RandomRay(random, static_cast<float>(state.range(0)));
        float nearest = 1000000.0f;
        for (C3DObjectLogic* logic : world.logics)
        {
            kelvo::trace_hit_t candidate;
            if (kelvo::RayHitsBox(ray, logic->GetTransformState().worldBox) &&
                EntersWorldBox(ray, *logic, candidate))
                nearest = std::min(nearest, candidate.distance);
        }
        benchmark::DoNotOptimize(nearest);
    }
}
BENCHMARK(SpaceTraceBruteForce)->Arg(20)->Arg(200)->Unit(benchmark::kMicrosecond);

// A soup of 20,000 small triangles: building its trace geometry, and tracing it.
struct STriangleSoup
{
    STriangleSoup()
    {
        std::mt19937 random(5);
        for (uint32_t i = 0; i < 20000; ++i)
        {
            const SVector4 centre{Uniform(random, -50, 50), Uniform(random, -50, 50),
                                  Uniform(random, -50, 50), 1};
            for (int corner = 0; corner < 3; ++corner)
            {
                positions.push_back(centre + SVector4{Uniform(random, -1, 1), Uniform(random, -1, 1),
                                                      Uniform(random, -1, 1), 0});
                indices.push_back(static_cast<uint32_t>(positions.size() - 1));
            }
        }
        source.positions = positions.data();
        source.vertexCount = static_cast<uint32_t>(positions.size());
        source.indices = indices.data();
        source.indexCount = static_cast<uint32_t>(indices.size());
        source.bounds = {{-51, -51, -51, 1}, {51, 51, 51, 1}};
    }
    std::vector<SVector4> positions;
    std::vector<uint32_t> indices;
    STraceSource source;
};

void TraceGeometryBuild(benchmark::State& state)
{
    STriangleSoup soup;
    CTraceGeometry geometry;
    for (auto _ : state)
        geometry.Build(soup.source);
}
BENCHMARK(TraceGeometryBuild)->Unit(benchmark::kMillisecond);

void TraceGeometryTrace(benchmark::State& state)
{
    STriangleSoup soup;
    CTraceGeometry geometry;
    geometry.EnsureBuilt(soup.source);
    std::mt19937 random(3);
    for (auto _ : state)
    {
        STraceMeshHit hit;
        benchmark::DoNotOptimize(geometry.Trace(RandomRay(random, 100.0f), hit));
    }
}
BENCHMARK(TraceGeometryTrace)->Unit(benchmark::kMicrosecond);
}

BENCHMARK_MAIN();
