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

TEST(SpaceTrace, PicksTheNearerObjectWhateverItsScale)
{
    CFakeGPUImplementation gpu;
    MakeSquare(gpu, "square");
    {
        C3DSpace space(kSpaceCell);
        // The nearer square is shrunk to a quarter: distances still compare in world units.
        auto farObject = MakeShown("square", MatrixTranslation(0, 0, -5));
        auto nearObject =
            MakeShown("square", MatrixScaling(0.25f, 0.25f, 0.25f) * MatrixTranslation(0, 0, 2));
        auto hidden = std::make_unique<CTestObject>(); // placed but not renderable: never hit
        hidden->AddLogic<C3DObjectLogic>()->Update();
        space.Insert(TransformOf(*farObject));
        space.Insert(TransformOf(*nearObject));
        space.Insert(TransformOf(*hidden));

        const SRay down{{0.1f, 0.1f, 10, 1}, {0, 0, -20, 0}, 20.0f};
        kelvo::trace_hit_t hit;
        ASSERT_TRUE(space.Trace(down, hit));
        EXPECT_EQ(hit.payload, TransformOf(*nearObject));
        EXPECT_NEAR(hit.distance, 8.0f, 1e-5f);
        EXPECT_EQ(hit.surface, 0u);

        // Beside the small square only the far one is met.
        const SRay beside{{0.5f, 0.5f, 10, 1}, {0, 0, -20, 0}, 20.0f};
        ASSERT_TRUE(space.Trace(beside, hit));
        EXPECT_EQ(hit.payload, TransformOf(*farObject));
        EXPECT_NEAR(hit.distance, 15.0f, 1e-5f);
        EXPECT_EQ(hit.triangle, 1u);

        // Too short to reach either.
        EXPECT_FALSE(space.Trace({{0.1f, 0.1f, 10, 1}, {0, 0, -7, 0}, 7.0f}, hit));
        EXPECT_EQ(hit.payload, nullptr);
    }
}

TEST(SpaceTrace, NearestHitMatchesALoopOverEveryTriangleOfEveryObject)
{
    CFakeGPUImplementation gpu;
    std::mt19937 random(2024);
    // One shared mesh of 40 small triangles around the origin.
    const SMeshData soup = RandomTriangles(random, 40, 2, 1);
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
            float nearest = C3DSpace::kNoHitDistance;
            for (uint32_t t = 0; t < everything.GetTriangleCount(); ++t)
            {
                STraceMeshHit candidate;
                if (CTraceGeometry::TraceTriangle(ray, everything.GetTriangles()[t], candidate))
                    nearest = std::min(nearest, candidate.distance);
            }
            kelvo::trace_hit_t hit;
            const bool found = space.Trace(ray, hit);
            ASSERT_EQ(found, nearest < C3DSpace::kNoHitDistance) << "ray " << r;
            if (found)
            {
                ASSERT_NEAR(hit.distance, nearest, 1e-3f * ray.length) << "ray " << r;
            }
            hits += found;
        }
        EXPECT_GT(hits, 100);
    }
}
