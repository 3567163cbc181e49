#include "kelvo/world/3DSpace.h"

#include <memory>
#include <random>
#include <vector>

#include "FakeGPUImplementation.h"
#include "kelvo/world/RenderableLogic.h"
#include "kelvo/gpu/TraceGeometry.h"
#include "TreeTestHelpers.h"
#include "WorldTestHelpers.h"

namespace
{
C3DObjectLogic* TransformOf(const CGameObject& object)
{
    return static_cast<C3DObjectLogic*>(object.FindLogic(C3DObjectLogic::StaticTypeId()));
}

// Scaled, turned and placed anywhere in the space's cell, some objects across its faces.
void PlaceAtRandom(CGameObject& object, std::mt19937& random)
{
    const float scale = Uniform(random, 0.5f, 3.0f);
    Place(object, MatrixScaling(scale, scale, scale) * MatrixRotationX(Uniform(random, 0, 6)) *
                      MatrixRotationY(Uniform(random, 0, 6)) *
                      MatrixTranslation(Uniform(random, -105, 105), Uniform(random, -105, 105),
                                        Uniform(random, -105, 105)));
}
}

// The space's tree against a loop over every triangle of every object in world space, before
// and after a third of the objects moved and the space was refreshed.
TEST(SpaceTrace, NearestHitMatchesALoopOverEveryTriangleOfEveryObject)
{
    CFakeGPUImplementation gpu;
    std::mt19937 random(2024);
    // One shared mesh of small triangles around the origin.
    constexpr uint32_t kSoupTriangles = 20;
    const SMeshData soup = RandomTriangles(random, kSoupTriangles, 2, 1);
    gpu.MakeMesh("soup", soup.positions, soup.indices);
    {
        C3DSpace space({{-100, -100, -100, 1}, {100, 100, 100, 1}});
        std::vector<std::unique_ptr<CTestObject>> objects;
        for (int i = 0; i < 300; ++i)
        {
            objects.push_back(std::make_unique<CTestObject>());
            objects.back()->AddLogic<C3DObjectLogic>();
            objects.back()->AddLogic<CRenderableLogic>()->ShowSurface("soup", "");
            PlaceAtRandom(*objects.back(), random);
            space.Insert(TransformOf(*objects.back()));
        }
        // Placed in the space but not renderable: never hit.
        CTestObject hidden;
        hidden.AddLogic<C3DObjectLogic>()->Update();
        space.Insert(TransformOf(hidden));

        for (int round = 0; round < 2; ++round)
        {
            SMeshData world;
            for (uint32_t o = 0; o < objects.size(); ++o)
            {
                const SMatrix& matrix = TransformOf(*objects[o])->GetWorldMatrix();
                for (const SVector4& p : soup.positions)
                    world.positions.push_back(Point(TransformPoint(XYZ(p), matrix)));
                for (uint32_t index : soup.indices)
                    world.indices.push_back(o * static_cast<uint32_t>(soup.positions.size()) + index);
            }
            CTraceGeometry everything;
            everything.Build(world.Source()); // only for its triangle frames; traced by the loop below

            int hits = 0;
            for (int r = 0; r < 1000; ++r)
            {
                SCOPED_TRACE(testing::Message() << "round " << round << " ray " << r);
                const SRay ray = RandomSegment(random, 110);
                // The nearest and second-nearest triangle: the object and triangle hit are
                // compared only where rounding cannot swap the two.
                float nearest = C3DSpace::kNoHitDistance, second = C3DSpace::kNoHitDistance;
                uint32_t nearestTriangle = 0;
                for (uint32_t t = 0; t < everything.GetTriangleCount(); ++t)
                {
                    STraceMeshHit candidate;
                    if (!CTraceGeometry::TraceTriangle(ray, everything.GetTriangles()[t], candidate))
                        continue;
                    second = std::min(second, std::max(nearest, candidate.distance));
                    if (candidate.distance < nearest)
                    {
                        nearest = candidate.distance;
                        nearestTriangle = t;
                    }
                }
                kelvo::trace_hit_t hit;
                const bool found = space.Trace(ray, hit);
                ASSERT_EQ(found, nearest < C3DSpace::kNoHitDistance);
                if (!found)
                {
                    EXPECT_EQ(hit.payload, nullptr);
                    continue;
                }
                // Distances compare in world units, whatever each object's scale.
                ASSERT_NEAR(hit.distance, nearest, 1e-3f * ray.length);
                if (second - nearest > 2e-3f * ray.length)
                {
                    ASSERT_EQ(hit.payload, TransformOf(*objects[nearestTriangle / kSoupTriangles]));
                    ASSERT_EQ(hit.triangle, nearestTriangle % kSoupTriangles);
                    ASSERT_EQ(hit.surface, 0u);
                }
                ++hits;
            }
            EXPECT_GT(hits, 50) << "round " << round; // the rays do meet the objects

            for (std::size_t i = 0; i < objects.size(); i += 3)
                PlaceAtRandom(*objects[i], random);
            space.Refresh();
            ASSERT_EQ(space.GetRoot().itemCount, objects.size() + 1);
        }
    }
}
