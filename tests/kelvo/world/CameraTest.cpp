#include "kelvo/world/CameraLogic.h"

#include <cmath>
#include <numbers>

#include "FakeGPUImplementation.h"
#include "kelvo/world/3DObjectLogic.h"
#include "WorldTestHelpers.h"

namespace
{
// The projection of a camera-space point, after the division by w.
SVector3 Project(SVector3 p, const SMatrix& projection)
{
    const SVector4 clip = Transform(Point(p), projection);
    return {clip.x / clip.w, clip.y / clip.w, clip.z / clip.w};
}
}

// The rays through the cursor are checked where they are used, in InputDispatcherTest.
TEST(Camera, ProjectionFitsTheFrustumToTheAspectOfTheGPUImplementation)
{
    CTestObject object;
    object.AddLogic<C3DObjectLogic>();
    CCameraLogic* camera = object.AddLogic<CCameraLogic>();
    const float tan20 = std::tan(20.0f * std::numbers::pi_v<float> / 180.0f);

    camera->Update(); // no GPU implementation: square
    EXPECT_FLOAT_EQ(camera->GetTop(), tan20 * 0.2f);
    EXPECT_FLOAT_EQ(camera->GetRight(), camera->GetTop());
    // The frustum's corners at the near and far planes land on the clip cube's corners.
    ExpectVectorNear(Project({camera->GetRight(), camera->GetTop(), -0.2f}, camera->GetProjection()),
                     {1, 1, -1});
    const float farScale = 1000.0f / 0.2f;
    ExpectVectorNear(Project({camera->GetLeft() * farScale, camera->GetBottom() * farScale, -1000.0f},
                             camera->GetProjection()),
                     {-1, -1, 1}, 1e-4f);

    // Twice as wide as high: aspect 0.5 doubles the horizontal extent only.
    CFakeGPUImplementation gpu;
    gpu.m_Aspect = 0.5f;
    camera->Update();
    EXPECT_FLOAT_EQ(camera->GetRight(), 2.0f * camera->GetTop());
    EXPECT_FLOAT_EQ(camera->GetTop(), tan20 * 0.2f);
    const SVector3 wide = Project({camera->GetRight(), 0.0f, -0.2f}, camera->GetProjection());
    EXPECT_NEAR(wide.x, 1.0f, 1e-5f);
}
