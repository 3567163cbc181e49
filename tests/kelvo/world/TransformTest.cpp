#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/CoarsePosition.h"

#include <numbers>

#include "WorldTestHelpers.h"

TEST(Transform, WorldMatricesFollowThreeLevelsWithinOneFrame)
{
    // Above the root an object without a transform: the root stays at its local matrix.
    CTestObject plainParent, root, child, grandchild;
    root.SetParent(&plainParent);
    child.SetParent(&root);
    grandchild.SetParent(&child);
    const SMatrix rootLocal = MatrixRotationY(0.3f) * MatrixTranslation(1, 2, 3);
    const SMatrix childLocal = MatrixScaling(2, 2, 2) * MatrixTranslation(0, 5, 0);
    const SMatrix grandLocal = MatrixRotationX(-0.7f) * MatrixTranslation(4, 0, -1);
    // Placed children first, so that only the walk can give them their parents' matrices.
    C3DObjectLogic* grandLogic = Place(grandchild, grandLocal);
    C3DObjectLogic* childLogic = Place(child, childLocal);
    C3DObjectLogic* rootLogic = Place(root, rootLocal);
    rootLogic->GetTransformState().coarse.x.cell = 7;

    UpdateKind(&plainParent, C3DObjectLogic::StaticTypeId());
    ExpectMatrixNear(rootLogic->GetWorldMatrix(), rootLocal);
    ExpectMatrixNear(childLogic->GetWorldMatrix(), childLocal * rootLocal);
    ExpectMatrixNear(grandLogic->GetWorldMatrix(), grandLocal * childLocal * rootLocal);
    ExpectMatrixNear(grandLogic->GetWorldMatrix() * grandLogic->GetInverseWorldMatrix(), MatrixIdentity());
    EXPECT_EQ(grandLogic->GetTransformState().coarse.x.cell, 7);

    // Moving the root shows in the grandchild in the same walk, not one frame late.
    STransformState state = rootLogic->GetTransformState();
    state.local = MatrixTranslation(-10, 0, 0);
    rootLogic->SetTransformState(state);
    UpdateKind(&plainParent, C3DObjectLogic::StaticTypeId());
    ExpectMatrixNear(grandLogic->GetWorldMatrix(), grandLocal * childLocal * MatrixTranslation(-10, 0, 0));
}

TEST(Transform, WorldBoxOfARotatedBoxHoldsItsTurnedCorners)
{
    CTestObject object;
    C3DObjectLogic* logic =
        Place(object, MatrixRotationZ(std::numbers::pi_v<float> / 4) * MatrixTranslation(10, 0, 0));
    logic->SetLocalBox({-1, -2, -3, 1}, {1, 2, 3, 1});
    logic->UpdateCorners();
    logic->Update();
    const SBox box = logic->GetWorldBox();
    // A 2 x 4 rectangle turned by 45 degrees about z spans (1 + 2) / sqrt(2) each way.
    const float reach = 3.0f / std::numbers::sqrt2_v<float>;
    ExpectVectorNear(XYZ(box.min), {10 - reach, -reach, -3});
    ExpectVectorNear(XYZ(box.max), {10 + reach, reach, 3});
    EXPECT_EQ(std::memcmp(&box, &logic->GetTransformState().worldBox, sizeof(box)), 0);
}

TEST(Transform, CoarseDifferenceMovesWholeCellsOutOfTheOffset)
{
    SCoarsePosition a, b;
    a.x = {7.5, 3};   // 37.5
    b.x = {-9.0, -1}; // -19
    a.y = {2.0, 0};
    b.y = {5.0, 0};
    a.z = {0.25, 1000000000};
    b.z = {0.5, 999999999};
    const SCoarsePosition d = a - b;
    EXPECT_EQ(d.x.cell, 5);
    EXPECT_DOUBLE_EQ(d.x.offset, 6.5);
    EXPECT_DOUBLE_EQ(d.x.ToDouble(), 56.5);
    EXPECT_EQ(d.y.cell, 0);
    EXPECT_DOUBLE_EQ(d.y.offset, -3.0);
    // Far from the origin the difference stays exact.
    const SVector3 v = d.ToVector();
    EXPECT_FLOAT_EQ(v.z, 9.75f);
    EXPECT_FLOAT_EQ(v.y, -3.0f);
}
