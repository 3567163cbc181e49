// The juggler figure's spheres and pose, and the juggler field's layout.
#include "quellbeam/content/JugglerModel.h"
#include "quellbeam/host/JugglerField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace quellbeam;

namespace
{
void ExpectSphereAt(const SVec4& sphere, const SVec3& point, float radius)
{
    EXPECT_FLOAT_EQ(sphere.x, point.x);
    EXPECT_FLOAT_EQ(sphere.y, point.y);
    EXPECT_FLOAT_EQ(sphere.z, point.z);
    EXPECT_FLOAT_EQ(sphere.w, radius);
}
}

TEST(JugglerModel, MakesEightyEightSpheresWithTwelvePerLowerLeg)
{
    CJugglerModel model;
    for (float phase : {0.0f, 0.25f, 0.6f, 0.99f})
    {
        model.Pose(phase);
        const std::vector<SVec4>& spheres = model.GetSpheres();
        ASSERT_EQ(spheres.size(), CJugglerModel::kSpheres);
        const SVec3* p = model.GetPosedPoints();
        // Each lower leg starts at its foot (t = 0) with the foot's radius: 59..70 and 71..82.
        ExpectSphereAt(spheres[59], p[13], 0.017f);
        ExpectSphereAt(spheres[71], p[14], 0.017f);
        // The leg's last sphere lies nearest the knee.
        EXPECT_LT(std::fabs(spheres[70].y - p[11].y), 0.03f);
        // Head, chin and the three juggled balls close the list.
        ExpectSphereAt(spheres[83], p[0] + Vec3(0, 0.02f, 0), 0.09f);
        ExpectSphereAt(spheres[84], p[0] + Vec3(0, -0.08f, 0), 0.04f);
        for (int ball = 0; ball < 3; ++ball)
            ExpectSphereAt(spheres[85 + ball], p[15 + ball], 0.11f);
        // Eyes first.
        ExpectSphereAt(spheres[0], p[0] + Vec3(0.045f, 0.015f, -0.09f), 0.02f);
    }
}

TEST(JugglerModel, BallsCrossBetweenTheHandsOverOnePeriod)
{
    CJugglerModel model;
    model.Pose(0.0f);
    const SVec3* p = model.GetPosedPoints();
    EXPECT_FLOAT_EQ(p[15].x, 0.23f);
    EXPECT_FLOAT_EQ(p[16].x, -0.23f);
    EXPECT_FLOAT_EQ(p[17].x, 0.0f);
    EXPECT_FLOAT_EQ(p[15].y, 0.62f);
    SVec3 start[15];
    for (int i = 0; i < 15; ++i)
        start[i] = p[i];

    model.Pose(0.5f);
    EXPECT_NEAR(p[15].x, 0.0f, 1e-6);
    EXPECT_NEAR(p[15].y, 0.52f + 0.1f + 0.25f, 1e-6);
    EXPECT_FLOAT_EQ(p[16].x, -0.115f);
    EXPECT_NEAR(p[16].y, 0.62f + 0.7f * std::sin(3.14159265f / 4), 1e-6);

    // Just before the period ends ball 1 reaches the other hand and the body is back at its start.
    model.Pose(0.99999f);
    EXPECT_NEAR(p[15].x, -0.23f, 1e-4);
    EXPECT_NEAR(p[17].x, 0.23f, 1e-4);
    for (int i = 0; i < 15; ++i)
    {
        EXPECT_NEAR(p[i].x, start[i].x, 1e-4) << "point " << i;
        EXPECT_NEAR(p[i].y, start[i].y, 1e-4) << "point " << i;
        EXPECT_NEAR(p[i].z, start[i].z, 1e-4) << "point " << i;
    }
}

TEST(JugglerField, IsTheSameOnEveryRunAndInsideTheCircle)
{
    CRandom15 first;
    first.Seed(123);
    CRandom15 second;
    for (int i = 0; i < 77; ++i)
        second.Next();
    second.Seed(123);
    const std::vector<SJugglerInstance> a = MakeJugglerField(first);
    const std::vector<SJugglerInstance> b = MakeJugglerField(second);
    ASSERT_EQ(a.size(), b.size());
    // A 9 x 9 grid clipped to a circle keeps roughly pi/4 of its points.
    EXPECT_GT(a.size(), 45u);
    EXPECT_LT(a.size(), 70u);
    for (size_t i = 0; i < a.size(); ++i)
    {
        EXPECT_EQ(std::memcmp(&a[i], &b[i], sizeof(SJugglerInstance)), 0) << "instance " << i;
        const float x = a[i].transform[12], z = a[i].transform[14];
        EXPECT_LE(x * x + z * z, 10000.0f);
        EXPECT_GE(a[i].speed, 0.7f);
        EXPECT_LT(a[i].speed, 1.3f);
        // A pure rotation about y: orthonormal upper block, y axis untouched.
        EXPECT_NEAR(a[i].transform[0] * a[i].transform[0] + a[i].transform[2] * a[i].transform[2], 1.0f, 1e-5);
        EXPECT_FLOAT_EQ(a[i].transform[5], 1.0f);
    }
}

TEST(JugglerField, PlacesScaledFiguresWithTheirMaterials)
{
    SJugglerInstance instance = MakeSingleJuggler();
    instance.transform[12] = 10.0f;
    CJugglerModel model;
    std::vector<SVec4> spheres;
    std::vector<SMaterial> materials;
    PlaceJugglers(model, {instance, MakeSingleJuggler()}, spheres, materials);
    ASSERT_EQ(spheres.size(), 2 * CJugglerModel::kSpheres);
    ASSERT_EQ(materials.size(), spheres.size());
    model.Pose(0.0f);
    const SVec4 head = model.GetSpheres()[83];
    EXPECT_FLOAT_EQ(spheres[83].x, -24.0f * head.x + 10.0f);
    EXPECT_FLOAT_EQ(spheres[83].y, 22.0f * head.y);
    EXPECT_FLOAT_EQ(spheres[83].z, -22.0f * head.z);
    EXPECT_FLOAT_EQ(spheres[83].w, 22.0f * head.w);
    EXPECT_FLOAT_EQ(spheres[88 + 83].x, -24.0f * head.x);
    // Eyes blue, shirt red, balls mirrors, the rest skin.
    EXPECT_FLOAT_EQ(materials[1].colour[2], 0.93333f);
    EXPECT_FLOAT_EQ(materials[40].colour[0], 1.0f);
    EXPECT_FLOAT_EQ(materials[40].reflectance, 0.1f);
    EXPECT_FLOAT_EQ(materials[88 + 86].reflectance, 1.0f);
    EXPECT_FLOAT_EQ(materials[88 + 86].exponent, 1024.0f);
    EXPECT_FLOAT_EQ(materials[50].colour[1], 0.6f);
}
