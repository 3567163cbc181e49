// Grid traversal against a brute-force loop over every sphere: same nearest ball, same distance.
#include "TestScene.h"

#include "quellbeam/host/JugglerField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <tuple>

using namespace quellbeam;
using namespace quellbeam::test;

namespace
{
constexpr int kRandomRays = 3000;

void BuildFitted(CTestScene& scene, const std::vector<SVec4>& spheres)
{
    float minBB, maxBB;
    FitCube(spheres, minBB, maxBB);
    scene.Build(spheres, {}, minBB, maxBB);
    ASSERT_TRUE(scene.complete);
}

// Compares grid and brute force on one ray; returns whether it hit.
bool ExpectSameHit(const CTestScene& scene, SVec3 origin, SVec3 direction, int ray)
{
    SRayHit grid;
    TraceGrid<false>(scene.View(), scene.constants, origin, direction, grid);
    const SRayHit reference = scene.BruteForce(origin, direction);
    EXPECT_EQ(grid.ball, reference.ball) << "ray " << ray;
    EXPECT_EQ(grid.t, reference.t) << "ray " << ray;
    return reference.ball != kNoBall;
}

// Random rays from points inside and around the cube, in random directions.
void CheckRandomRays(const CTestScene& scene, uint32_t seed, int minimumHits)
{
    const float lo = scene.constants.minBB;
    const float hi = scene.constants.maxBB;
    const float margin = 0.5f * (hi - lo);
    std::mt19937 engine(seed);
    std::uniform_real_distribution<float> position(lo - margin, hi + margin);
    std::normal_distribution<float> normal(0.0f, 1.0f);
    int hits = 0, inside = 0;
    for (int ray = 0; ray < kRandomRays; ++ray)
    {
        const SVec3 origin = Vec3(position(engine), position(engine), position(engine));
        SVec3 direction = Vec3(normal(engine), normal(engine), normal(engine));
        // Half the rays aim at the middle of the cube so that most of them cross it.
        if (ray % 2 == 0)
            direction =
                Vec3(0.5f * (lo + hi), 0.5f * (lo + hi), 0.5f * (lo + hi)) - origin + direction * 10.0f;
        const bool starts_inside = origin.x > lo && origin.x < hi && origin.y > lo && origin.y < hi &&
                                   origin.z > lo && origin.z < hi;
        inside += starts_inside ? 1 : 0;
        hits += ExpectSameHit(scene, origin, direction, ray) ? 1 : 0;
        if (testing::Test::HasFailure())
            return;
    }
    // Both kinds of start and plenty of hits were exercised.
    EXPECT_GT(inside, kRandomRays / 20);
    EXPECT_LT(inside, kRandomRays - kRandomRays / 20);
    EXPECT_GT(hits, minimumHits);
}
}

TEST(GridTraversal, MatchesBruteForceOnTheStartSpheresAndTheJugglerField)
{
    std::vector<SVec4> start = StartSpheres(), field;
    std::vector<SMaterial> materials;
    CRandom15 random;
    random.Seed(123);
    std::vector<SJugglerInstance> instances = MakeJugglerField(random);
    for (SJugglerInstance& instance : instances)
        instance.time = 3.7f;
    CJugglerModel model;
    PlaceJugglers(model, instances, field, materials);
    // The field is sparse: about a sixth of its rays meet a figure.
    for (const auto& [spheres, seed, minimumHits] :
         {std::tuple(&start, 17u, kRandomRays / 4), std::tuple(&field, 29u, kRandomRays / 8)})
    {
        CTestScene scene;
        BuildFitted(scene, *spheres);
        CheckRandomRays(scene, seed, minimumHits);
    }
}

TEST(GridTraversal, RaysFromFarAwayFindOnlyTheBallsTheyPass)
{
    // Shadow rays from the distant floor: long unnormalised directions from thousands of units
    // away. A ball counts as hit only where its centre lies within its radius of the line
    // (checked in double precision, up to a thin shell for rounding), and the grid agrees
    // with the brute-force loop.
    const std::vector<SVec4> spheres = StartSpheres();
    CTestScene scene;
    BuildFitted(scene, spheres);
    std::mt19937 engine(41);
    std::uniform_real_distribution<float> angle(0.0f, 6.2831853f), distance(2000.0f, 9000.0f);
    const SVec3 light = Vec3(0, 30, 30);
    int hits = 0;
    for (int ray = 0; ray < kRandomRays; ++ray)
    {
        const float a = angle(engine), far = distance(engine);
        const SVec3 origin = Vec3(far * cosf(a), -30.0f, far * sinf(a));
        const SVec3 direction = light - origin;
        hits += ExpectSameHit(scene, origin, direction, ray) ? 1 : 0;
        const SRayHit nearest = scene.BruteForce(origin, direction);
        if (nearest.ball != kNoBall)
        {
            const SVec4 ball = spheres[nearest.ball];
            const double v[3] = {double(ball.x) - origin.x, double(ball.y) - origin.y,
                                 double(ball.z) - origin.z};
            const double d[3] = {direction.x, direction.y, direction.z};
            const double k =
                (v[0] * d[0] + v[1] * d[1] + v[2] * d[2]) / (d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            const double miss =
                std::sqrt((v[0] - k * d[0]) * (v[0] - k * d[0]) + (v[1] - k * d[1]) * (v[1] - k * d[1]) +
                          (v[2] - k * d[2]) * (v[2] - k * d[2]));
            EXPECT_LT(miss, ball.w + 0.01) << "ray " << ray;
        }
        if (testing::Test::HasFailure())
            return;
    }
    EXPECT_GT(hits, kRandomRays / 10);
}

TEST(GridTraversal, AxisParallelRaysNeverStepAlongTheOtherAxes)
{
    // A row of balls along x, hit by rays along every axis direction from outside and inside.
    std::vector<SVec4> spheres;
    for (int i = 0; i < 40; ++i)
        spheres.push_back(SVec4{-45.0f + 2.3f * static_cast<float>(i), 3.0f, -7.0f, 0.9f});
    spheres.push_back(SVec4{3.0f, 40.0f, -7.0f, 1.5f});
    spheres.push_back(SVec4{3.0f, 3.0f, 40.0f, 1.5f});
    CTestScene scene;
    scene.Build(spheres, {}, -50.0f, 50.0f);
    ASSERT_TRUE(scene.complete);
    const SVec3 origins[] = {Vec3(-80, 3, -7), Vec3(80, 3, -7), Vec3(0.2f, 3, -7),
                             Vec3(3, -80, -7), Vec3(3, 3, -80), Vec3(3, 3.5f, -7)};
    const SVec3 directions[] = {Vec3(1, 0, 0),  Vec3(-1, 0, 0), Vec3(0, 1, 0),
                                Vec3(0, -1, 0), Vec3(0, 0, 1),  Vec3(0, 0, -1)};
    int ray = 0, hits = 0;
    for (const SVec3& origin : origins)
        for (const SVec3& direction : directions)
            hits += ExpectSameHit(scene, origin, direction * 0.5f, ray++) ? 1 : 0;
    EXPECT_GE(hits, 8);
}
