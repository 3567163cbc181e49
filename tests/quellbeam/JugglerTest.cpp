// The juggler figure's spheres and pose, and the juggler field's layout.
#include "quellbeam/content/JugglerModel.h"
#include "quellbeam/host/JugglerField.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace quellbeam;

TEST(JugglerModel, BallsCrossBetweenTheHandsOverOnePeriod)
{
    CJugglerModel model;
    model.Pose(0.0f);
    const SVec3* p = model.GetPosedPoints();
    EXPECT_FLOAT_EQ(p[15].x, 0.23f);
    const std::vector<SVec3> start(p, p + 15);

    // Just before the period ends ball 1 reaches the other hand and the body is back at its start.
    model.Pose(0.99999f);
    EXPECT_NEAR(p[15].x, -0.23f, 1e-4);
    EXPECT_NEAR(p[17].x, 0.23f, 1e-4);
    for (int i = 0; i < 15; ++i)
        EXPECT_LT(Dot(p[i] - start[i], p[i] - start[i]), 1e-8f) << "point " << i;
}

TEST(JugglerField, LiesInsideTheCircleWithTurnedFigures)
{
    CRandom15 random;
    random.Seed(123);
    const std::vector<SJugglerInstance> a = MakeJugglerField(random);
    // A 9 x 9 grid clipped to a circle keeps roughly pi/4 of its points.
    EXPECT_GT(a.size(), 45u);
    EXPECT_LT(a.size(), 70u);
    for (size_t i = 0; i < a.size(); ++i)
    {
        const float x = a[i].transform[12], z = a[i].transform[14];
        EXPECT_LE(x * x + z * z, 10000.0f) << "instance " << i;
        EXPECT_GE(a[i].speed, 0.7f);
        EXPECT_LT(a[i].speed, 1.3f);
        // A pure rotation about y: orthonormal upper block, y axis untouched.
        EXPECT_NEAR(a[i].transform[0] * a[i].transform[0] + a[i].transform[2] * a[i].transform[2], 1.0f,
                    1e-5);
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
    // The head, scaled (and mirrored in x and z) to the figure's size, and the first moved.
    const SVec4 head = model.GetSpheres()[83];
    EXPECT_FLOAT_EQ(spheres[88 + 83].x, -24.0f * head.x);
    EXPECT_FLOAT_EQ(spheres[88 + 83].w, 22.0f * head.w);
    EXPECT_FLOAT_EQ(spheres[83].x, spheres[88 + 83].x + 10.0f);
    // The juggled balls are mirrors.
    EXPECT_FLOAT_EQ(materials[88 + 86].reflectance, 1.0f);
}
