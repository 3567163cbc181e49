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
// An object showing one mesh, placed by its local matrix.
std::unique_ptr<CTestObject> MakeShown(const std::string& mesh, const SMatrix& local)
{
    auto object = std::make_unique<CTestObject>();
    C3DObjectLogic* transform = object->AddLogic<C3DObjectLogic>();
    object->AddLogic<CRenderableLogic>()->ShowSurface(mesh, "");
    STransformState state = transform->GetTransformState();
    state.local = local;
    transform->SetTransformState(state);
    transform->Update();
    return object;
}

C3DObjectLogic* TransformOf(const CGameObject& object)
{
    return static_cast<C3DObjectLogic*>(object.FindLogic(C3DObjectLogic::StaticTypeId()));
}

const SBox kSpaceCell{{-100, -100, -100, 1}, {100, 100, 100, 1}};
}

TEST(SpaceTrace, NearestHitMatchesALoopOverEveryTriangleOfEveryObject)
{
    CFakeGPUImplementation gpu;
    std::mt19937 random(2024);
    // One shared mesh of small triangles around the origin.
    constexpr uint32_t kSoupTriangles = 40;
    const SMeshData soup = RandomTriangles(random, kSoupTriangles, 2, 1);
    gpu.MakeMesh("soup", soup.positions, soup.indices);
    {
        C3DSpace space(kSpaceCell);
        std::vector<std::unique_ptr<CTestObject>> objects;
        for (int i = 0; i < 150; ++i)
        {
            const float scale = Uniform(random, 0.5f, 3.0f);
            const SMatrix local = MatrixScaling(scale, scale, scale) *
                                  MatrixRotationX(Uniform(random, 0, 6)) *
                                  MatrixRotationY(Uniform(random, 0, 6)) *
                                  MatrixTranslation(Uniform(random, -60, 60), Uniform(random, -60, 60),
                                                    Uniform(random, -60, 60));
            objects.push_back(MakeShown("soup", local));
            space.Insert(TransformOf(*objects.back()));
        }
        // Placed in the space but not renderable: never hit.
        CTestObject hidden;
        hidden.AddLogic<C3DObjectLogic>()->Update();
        space.Insert(TransformOf(hidden));

        // Every triangle of every object in world space, for the loop.
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
        for (int r = 0; r < 2000; ++r)
        {
            const SRay ray = RandomSegment(random, 70);
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
            ASSERT_EQ(found, nearest < C3DSpace::kNoHitDistance) << "ray " << r;
            if (!found)
            {
                EXPECT_EQ(hit.payload, nullptr);
                continue;
            }
            // Distances compare in world units, whatever each object's scale.
            ASSERT_NEAR(hit.distance, nearest, 1e-3f * ray.length) << "ray " << r;
            if (second - nearest > 2e-3f * ray.length)
            {
                ASSERT_EQ(hit.payload, TransformOf(*objects[nearestTriangle / kSoupTriangles]))
                    << "ray " << r;
                ASSERT_EQ(hit.triangle, nearestTriangle % kSoupTriangles) << "ray " << r;
                ASSERT_EQ(hit.surface, 0u);
            }
            ++hits;
        }
        EXPECT_GT(hits, 100);
    }
}
