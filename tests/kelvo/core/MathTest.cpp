#include "kelvo/core/Math.h"

#include <numbers>
#include <random>

#include "../world/WorldTestHelpers.h"

namespace
{
SMatrix RandomAffine(std::mt19937& random)
{
    std::uniform_real_distribution<float> angle(-3.0f, 3.0f), offset(-50.0f, 50.0f), scale(0.2f, 4.0f);
    return MatrixScaling(scale(random), scale(random), scale(random)) * MatrixRotationX(angle(random)) *
           MatrixRotationY(angle(random)) * MatrixRotationZ(angle(random)) *
           MatrixTranslation(offset(random), offset(random), offset(random));
}
}

TEST(Math, RotationsTurnAxesTheLeftHandedWay)
{
    const float quarter = std::numbers::pi_v<float> / 2.0f;
    ExpectVectorNear(TransformNormal({0, 1, 0}, MatrixRotationX(quarter)), {0, 0, 1});
    ExpectVectorNear(TransformNormal({0, 0, 1}, MatrixRotationY(quarter)), {1, 0, 0});
    ExpectVectorNear(TransformNormal({1, 0, 0}, MatrixRotationZ(quarter)), {0, 1, 0});
    // Turned, then moved.
    ExpectVectorNear(TransformPoint({1, 0, 0}, MatrixRotationZ(quarter) * MatrixTranslation(10, 0, 0)),
                     {10, 1, 0});
}

TEST(Math, ProductsApplyTheLeftMatrixFirstAndInversesUndoThem)
{
    std::mt19937 random(7);
    std::uniform_real_distribution<float> coordinate(-10.0f, 10.0f);
    for (int i = 0; i < 50; ++i)
    {
        const SMatrix a = RandomAffine(random), b = RandomAffine(random);
        const SVector3 p{coordinate(random), coordinate(random), coordinate(random)};
        ExpectVectorNear(TransformPoint(p, a * b), TransformPoint(TransformPoint(p, a), b), 1e-2f);
        // Directions ignore the translation.
        ExpectVectorNear(TransformNormal(p, a * b), TransformNormal(TransformNormal(p, a), b), 1e-2f);
        ExpectVectorNear(TransformNormal(p, a * MatrixTranslation(p.x, p.y, p.z)), TransformNormal(p, a),
                         1e-4f);

        SMatrix general;
        ASSERT_TRUE(MatrixInverse(a, general)) << "case " << i;
        ExpectMatrixNear(a * general, MatrixIdentity(), 1e-4f);
        ExpectMatrixNear(MatrixInverseAffine(a), general, 1e-3f);
    }
    SMatrix singular = MatrixScaling(1, 0, 1), inverse;
    EXPECT_FALSE(MatrixInverse(singular, inverse));
    ExpectMatrixNear(inverse, MatrixIdentity(), 0.0f);
}

TEST(Math, BoxesGrowToHoldPoints)
{
    SBox box{{1, 1, 1, 1}, {1, 1, 1, 1}};
    ExtendBox(box, {-2, 3, 1, 1});
    ExtendBox(box, {0, 0, 5, 1});
    ExpectVectorNear(XYZ(box.min), {-2, 0, 1});
    ExpectVectorNear(XYZ(box.max), {1, 3, 5});
    ExpectVectorNear(Normalize({3, 0, 4}), {0.6f, 0, 0.8f});
    ExpectVectorNear(Normalize({0, 0, 0}), {0, 0, 0});
    ExpectVectorNear(Cross({1, 0, 0}, {0, 1, 0}), {0, 0, 1});
}
