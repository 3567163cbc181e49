#include "brovell/Game.h"

#include "kelvo/gpu/VarManager.h"
#include "kelvo/tasks/TaskManager.h"
#include "kelvo/tasks/UpdateManager.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/3DSpace.h"
#include "kelvo/world/CameraLogic.h"

#include <gtest/gtest.h>

// The frame's update manager, as the program's static objects provide it.
CTaskManager g_TaskManager(1);
CUpdateManager g_UpdateManager(&g_TaskManager);

namespace
{
class COwningObject : public CGameObject
{
public:
    ~COwningObject() override
    {
        for (CObjectLogicBase* logic : GetLogics())
            delete logic;
    }
};
}

TEST(Game, FrameUpdatesCameraThenTransformsThenRefreshesTheSpace)
{
    CGame game;
    EXPECT_EQ(g_pGame, &game);
    ASSERT_NE(game.GetSpace(), nullptr);
    COwningObject walker, camera, plain;
    walker.SetParent(&game);
    camera.SetParent(&walker);
    plain.SetParent(&game);
    C3DObjectLogic* walkerLogic = walker.AddLogic<C3DObjectLogic>();
    C3DObjectLogic* cameraTransform = camera.AddLogic<C3DObjectLogic>();
    camera.AddLogic<CCameraLogic>();
    GetVariable("r_camera_noise", 4)->SetFloat(0.0f);
    game.AddToSpace(&walker);
    game.AddToSpace(&plain); // no transform: not added
    EXPECT_EQ(game.GetSpace()->GetItemCount(), 1u);

    STransformState state = walkerLogic->GetTransformState();
    state.local = MatrixTranslation(20, 30, 40);
    walkerLogic->SetTransformState(state);
    game.Frame();

    // The camera's unshaken local matrix and its parent's new place, both of this frame.
    EXPECT_EQ(cameraTransform->GetWorldMatrix().m[12], 20.0f);
    EXPECT_EQ(cameraTransform->GetWorldMatrix().m[14], 40.0f);
    EXPECT_EQ(game.GetSpace()->GetRoot().content.min.y, 29.0f);
    EXPECT_FLOAT_EQ(game.GetSpace()->GetRoot().content.max.z, 41.0001f);
    GetVariable("r_camera_noise", 4)->SetFloat(1.0f);
}
