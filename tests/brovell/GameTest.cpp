#include "brovell/Game.h"

#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/tasks/TaskManager.h"
#include "kelvo/tasks/UpdateManager.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/3DSpace.h"
#include "kelvo/world/BeingObjectLogic.h"
#include "kelvo/world/CameraLogic.h"
#include "kelvo/world/RenderableLogic.h"
#include "kelvo/world/Surface.h"
#include "../kelvo/world/FakeGPUImplementation.h"

#include <gtest/gtest.h>

// The frame's update manager, as the program's static objects provide it.
CTaskManager g_TaskManager(1);
CUpdateManager g_UpdateManager(&g_TaskManager);

TEST(Game, FrameUpdatesCameraThenTransformsThenRefreshesTheSpace)
{
    // The first frame loads every scene; the car scene cannot go on without its cell file.
    CResourceManager::Instance().ScanDirectory(BROVELL_DATA_DIR);
    CGame game;
    EXPECT_EQ(g_pGame, &game);
    ASSERT_NE(game.GetSpace(), nullptr);
    // The game deletes the objects hung under it.
    auto* walker = new CGameObject;
    auto* camera = new CGameObject;
    auto* plain = new CGameObject;
    walker->SetParent(&game);
    camera->SetParent(walker);
    plain->SetParent(&game);
    C3DObjectLogic* walkerLogic = walker->AddLogic<C3DObjectLogic>();
    C3DObjectLogic* cameraTransform = camera->AddLogic<C3DObjectLogic>();
    camera->AddLogic<CCameraLogic>();
    GetVariable("r_camera_noise", 4)->SetFloat(0.0f);
    game.AddToSpace(walker);
    game.AddToSpace(plain); // no transform: not added
    EXPECT_EQ(game.GetSpace()->GetItemCount(), 1u);

    STransformState state = walkerLogic->GetTransformState();
    state.local = MatrixTranslation(20, 30, 40);
    walkerLogic->SetTransformState(state);
    game.Frame();

    // The camera's unshaken local matrix and its parent's new place, both of this frame.
    EXPECT_EQ(cameraTransform->GetWorldMatrix().m[12], 20.0f);
    EXPECT_EQ(cameraTransform->GetWorldMatrix().m[14], 40.0f);
    // (The car scene's streaks stand in the space too, around the origin.)
    EXPECT_FLOAT_EQ(game.GetSpace()->GetRoot().content.max.y, 31.0001f);
    EXPECT_FLOAT_EQ(game.GetSpace()->GetRoot().content.max.z, 41.0001f);
    GetVariable("r_camera_noise", 4)->SetFloat(1.0f);
}

TEST(Game, CreateWorldPutsTheCameraOnTheWalkerAndTheObjectsInTheSpace)
{
    CResourceManager::Instance().ScanDirectory(BROVELL_DATA_DIR);
    CFakeGPUImplementation gpu;
    gpu.MakeMaterial("ambient_green");
    CGame game;
    game.CreateWorld();

    // The camera rig hangs under the walker, which stands at (0, 0, 100).
    CGameObject* camera = game.GetCameraObject();
    ASSERT_NE(camera, nullptr);
    EXPECT_NE(camera->FindLogic(CCameraLogic::StaticTypeId()), nullptr);
    EXPECT_NE(camera->FindLogic(C3DObjectLogic::StaticTypeId()), nullptr);
    CGameObject* walker = camera->GetParent();
    ASSERT_NE(walker, nullptr);
    EXPECT_EQ(walker->GetParent(), &game);
    auto* walkerLogic = static_cast<CBeingObjectLogic*>(walker->FindLogic(CBeingObjectLogic::StaticTypeId()));
    ASSERT_NE(walkerLogic, nullptr);
    EXPECT_EQ(walkerLogic->GetTransformState().local.m[14], 100.0f);

    // The car and the ground object are in the space; the car shows its mesh with the mesh's
    // own materials, one per part.
    EXPECT_EQ(game.GetSpace()->GetItemCount(), 2u);
    ASSERT_EQ(game.GetChildren().size(), 3u);
    auto* car =
        static_cast<CRenderableLogic*>(game.GetChildren()[0]->FindLogic(CRenderableLogic::StaticTypeId()));
    ASSERT_NE(car, nullptr);
    ASSERT_EQ(car->GetSurfaceCount(), 1u);
    ASSERT_NE(car->GetSurface(0)->GetMesh(), nullptr);
    EXPECT_EQ(car->GetSurface(0)->GetMaterials().size(), 47u);

    // The game releases the world it made (the leak checker holds it to that).
}
