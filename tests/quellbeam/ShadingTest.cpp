// Shading of camera rays: light terms computed here independently, sky and floor for misses,
// shadows, and no highlights or bounces without reflectance.
#include "TestScene.h"

#include "platform/Random15.h"
#include "quellbeam/host/StartScene.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace quellbeam;
using namespace quellbeam::test;

namespace
{
SVec4 Shade(const CTestScene& scene, SVec3 origin, SVec3 direction, SRayCounts* counts = nullptr)
{
    SRayCounts local = {};
    return TraceCameraRay(scene.View(), scene.constants, origin, direction, counts ? *counts : local);
}

void ExpectColour(SVec4 actual, double r, double g, double b, double a = 0.0)
{
    EXPECT_NEAR(actual.x, r, 1e-5);
    EXPECT_NEAR(actual.y, g, 1e-5);
    EXPECT_NEAR(actual.z, b, 1e-5);
    EXPECT_NEAR(actual.w, a, 1e-5);
}

// The floor at y = 0 with both materials without reflectance, so floor pixels carry only their
// diffuse light, and the light above the origin.
void MatteFloorUnderLight(SKernelConstants& constants, float lightHeight)
{
    constants.mat[4] = constants.mat[12] = 0.0f;
    constants.planeY = 0.0f;
    constants.lightPos[0] = constants.lightPos[2] = 0.0f;
    constants.lightPos[1] = lightHeight;
}
}

TEST(Shading, BallLitFromAKnownLightGetsItsDiffuseAndSpecularTerms)
{
    const SMaterial material = {{0.8f, 0.5f, 0.25f}, 20.0f, 0.3f, 0.6f, 0, 0};
    CTestScene scene;
    scene.Build({SVec4{0, 0, 0, 1}}, {material}, -10.0f, 10.0f);
    scene.constants.lightPos[0] = 3.0f;
    scene.constants.lightPos[1] = 4.0f;
    scene.constants.lightPos[2] = 12.0f;
    SRayCounts counts = {};
    // Straight at the ball from +z: hit point (0, 0, 1), normal and mirror direction +z.
    const SVec4 colour = Shade(scene, Vec3(0, 0, 5), Vec3(0, 0, -1), &counts);

    const double lx = 3, ly = 4, lz = 11, length = std::sqrt(lx * lx + ly * ly + lz * lz);
    const double nl = lz / length; // N = (0, 0, 1); also L . R with R = N
    const double diffuse = 0.6 * nl;
    const double specular = 0.3 * std::pow(nl, 20.0);
    // The mirror ray leaves horizontally (y = 0) into the sky, whose bright end it sees.
    const double sky[3] = {0.73333, 0.73333, 1.0};
    ExpectColour(colour, 0.8 * diffuse + specular + 0.3 * sky[0], 0.5 * diffuse + specular + 0.3 * sky[1],
                 0.25 * diffuse + specular + 0.3 * sky[2]);
    EXPECT_EQ(counts.primary, 1u);
    EXPECT_EQ(counts.shadow, 1u);
    EXPECT_EQ(counts.bounce, 1u);
}

TEST(Shading, MissesShowTheSkyUpwardAndTheFloorDownward)
{
    CTestScene scene;
    scene.Build({SVec4{0, 50, 0, 1}}, {}, -60.0f, 60.0f);
    MatteFloorUnderLight(scene.constants, 30.0f);

    // Sky: s = clamp(D.y - 0.3, 0, 1) blends the dark end in.
    const SVec4 sky = Shade(scene, Vec3(0, 10, 0), Vec3(0.2f, 0.8f, 0.0f));
    const double s = 0.5;
    ExpectColour(sky, 0.06667 * s + 0.73333 * (1 - s), 0.13333 * s + 0.73333 * (1 - s),
                 0.93333 * s + 1.0 * (1 - s));

    // Floor at (3, 0, 2): checker fractions 0.59 and 0.56 pick material 1 (yellow, diffuse 0.7).
    const SVec4 floor = Shade(scene, Vec3(0, 10, 0), Vec3(0.3f, -1.0f, 0.2f));
    const double nl = 30.0 / std::sqrt(9.0 + 900.0 + 4.0);
    ExpectColour(floor, 0.7 * nl, 0.7 * nl, 0.0);
    // Floor at (-3, 0, 2): fractions 0.41 and 0.56 pick material 0 (green, diffuse 0.8).
    const SVec4 other = Shade(scene, Vec3(0, 10, 0), Vec3(-0.3f, -1.0f, 0.2f));
    ExpectColour(other, 0.0, 0.8 * nl, 0.0);
}

TEST(Shading, TexturedFloorTakesItsColourFromTheTexelUnderThePoint)
{
    CTestScene scene;
    scene.Build({SVec4{0, 50, 0, 1}}, {}, -60.0f, 60.0f);
    MatteFloorUnderLight(scene.constants, 30.0f);
    scene.constants.planeTexture = 1;
    // 4 x 3 texels; the floor is addressed at 0.015 texels per unit, clamped at the edges.
    scene.floorWidth = 4;
    scene.floorHeight = 3;
    scene.floorTexels.assign(12, 0xFF000000u);
    scene.floorTexels[1 * 4 + 2] = 0xFF336699u;
    scene.floorTexels[0] = 0xFFFF0000u;
    scene.floorTexels[2 * 4 + 3] = 0xFF00FF00u;

    // Point (150, 0, 80): texel (2.25, 1.2); checker fractions 1 and 0.9 pick material 1 (diffuse 0.7).
    const SVec4 texel = Shade(scene, Vec3(150, 10, 80), Vec3(0, -1, 0));
    const double nl = 30.0 / std::sqrt(150.0 * 150.0 + 900.0 + 80.0 * 80.0);
    ExpectColour(texel, 0x33 / 255.0 * 0.7 * nl, 0x66 / 255.0 * 0.7 * nl, 0x99 / 255.0 * 0.7 * nl);
    // Below zero clamps to texel 0, far out to the last texel.
    EXPECT_GT(Shade(scene, Vec3(-30, 10, -30), Vec3(0, -1, 0)).x, 0.0f);
    EXPECT_EQ(Shade(scene, Vec3(-30, 10, -30), Vec3(0, -1, 0)).y, 0.0f);
    EXPECT_GT(Shade(scene, Vec3(900, 10, 900), Vec3(0, -1, 0)).y, 0.0f);
    EXPECT_EQ(Shade(scene, Vec3(900, 10, 900), Vec3(0, -1, 0)).x, 0.0f);
}

TEST(Shading, ShadowedFloorPointIsThreeTenthsOfItsLitValue)
{
    CTestScene open;
    open.Build({SVec4{30, 20, 30, 2}}, {}, -50.0f, 50.0f);
    CTestScene blocked;
    blocked.Build({SVec4{0, 20, 0, 2}}, {}, -50.0f, 50.0f);
    for (CTestScene* scene : {&open, &blocked})
        MatteFloorUnderLight(scene->constants, 45.0f);
    // The camera sees the floor point under the light; the ball hangs between them.
    const SVec3 origin = Vec3(0, 10, -20);
    const SVec3 direction = Vec3(0, -0.5f, 1.0f);
    const SVec4 lit = Shade(open, origin, direction);
    const SVec4 shadowed = Shade(blocked, origin, direction);
    ASSERT_GT(lit.y, 0.1f);
    ExpectColour(shadowed, 0.3f * lit.x, 0.3f * lit.y, 0.3f * lit.z, lit.w);
}

TEST(Shading, WithoutReflectanceThereAreNoHighlightsAndNoBounces)
{
    CRandom15 random;
    std::vector<SVec4> spheres;
    std::vector<SMaterial> materials;
    MakeStartScene(random, 400, spheres, materials);
    float minBB, maxBB;
    FitCube(spheres, minBB, maxBB);

    // Renders a small fan of camera rays; exponents change nothing when reflectance is 0.
    auto render = [&](float reflectance, float exponent, SRayCounts& counts) {
        for (SMaterial& m : materials)
        {
            m.reflectance = reflectance;
            m.exponent = exponent;
        }
        CTestScene scene;
        scene.Build(spheres, materials, minBB, maxBB);
        scene.constants.planeY = -60.0f;
        scene.constants.mat[4] = scene.constants.mat[12] = reflectance;
        std::vector<SVec4> image;
        for (int y = 0; y < 24; ++y)
            for (int x = 0; x < 32; ++x)
                image.push_back(TraceCameraRay(scene.View(), scene.constants, Vec3(0, 0, 120),
                                               Vec3(-0.5f + x / 32.0f, 0.4f - y / 24.0f, -1.0f), counts));
        return image;
    };
    SRayCounts matte = {}, matteAgain = {}, shiny = {};
    const std::vector<SVec4> a = render(0.0f, 16.0f, matte);
    const std::vector<SVec4> b = render(0.0f, 2.0f, matteAgain);
    render(0.5f, 16.0f, shiny);
    ASSERT_EQ(a.size(), b.size());
    EXPECT_EQ(std::memcmp(a.data(), b.data(), a.size() * sizeof(SVec4)), 0);
    EXPECT_EQ(matte.bounce, 0u);
    EXPECT_GT(matte.shadow, 0u);
    EXPECT_GT(shiny.bounce, 0u);
}
