#include "kelvo/world/3DSpace.h"

#include <algorithm>
#include <vector>

#include "WorldTestHelpers.h"

namespace
{
class CUnboundedLogic : public C3DObjectLogic
{
    KELVO_RTTI(CUnboundedLogic, C3DObjectLogic)

public:
    bool IsUnbounded() const override { return true; }
};

bool Contains(const std::vector<C3DObjectLogic*>& list, const C3DObjectLogic* logic)
{
    return std::find(list.begin(), list.end(), logic) != list.end();
}
}

TEST(Space, QueryVisibleReturnsWhatLiesWithinTheRadius)
{
    C3DSpace space({{-100, -100, -100, 1}, {100, 100, 100, 1}});
    CTestObject nearObject, farObject, skyObject, cameraObject;
    C3DObjectLogic* nearLogic = Place(nearObject, MatrixTranslation(5, 0, -10));
    C3DObjectLogic* farLogic = Place(farObject, MatrixTranslation(80, 80, 80));
    CUnboundedLogic* sky = skyObject.AddLogic<CUnboundedLogic>();
    EXPECT_TRUE(space.Insert(nearLogic));
    EXPECT_TRUE(space.Insert(farLogic));
    EXPECT_TRUE(space.Insert(sky));
    EXPECT_FALSE(space.Insert(nearLogic));
    EXPECT_FALSE(space.Insert(sky));
    EXPECT_EQ(space.GetItemCount(), 2u);

    C3DObjectLogic* camera = Place(cameraObject, MatrixTranslation(0, 0, 0));
    std::vector<C3DObjectLogic*> visible;
    ASSERT_TRUE(space.QueryVisible(visible, MatrixIdentity(), camera->GetTransformState(), 20.0f));
    EXPECT_EQ(visible.size(), 2u);
    EXPECT_EQ(visible[0], sky); // the unbounded ones first
    EXPECT_TRUE(Contains(visible, nearLogic));
    // Camera-space corners: the near object's corner 0 seen from the camera.
    EXPECT_FLOAT_EQ(nearLogic->GetTransformState().cameraCorners[0].x, 4.0f);
    EXPECT_FLOAT_EQ(nearLogic->GetTransformState().cameraCorners[7].z, -9.0f);

    // A camera far away, in another coarse cell, sees the far object and not the near one.
    STransformState state = camera->GetTransformState();
    state.coarse.x.cell = 8; // 80 units along x
    state.local = MatrixTranslation(0, 78, 78);
    camera->SetTransformState(state);
    camera->Update();
    ASSERT_TRUE(space.QueryVisible(visible, MatrixIdentity(), camera->GetTransformState(), 10.0f));
    EXPECT_TRUE(Contains(visible, farLogic));
    EXPECT_FALSE(Contains(visible, nearLogic));
    EXPECT_FLOAT_EQ(farLogic->GetTransformState().cameraCorners[0].x, -1.0f);
    EXPECT_FLOAT_EQ(farLogic->GetTransformState().cameraCorners[0].y, 1.0f);
}
