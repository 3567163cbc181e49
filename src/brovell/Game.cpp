#include "brovell/Game.h"

#include <cmath>
#include <numbers>

#include "brovell/StaticObjects.h"
#include "kelvo/core/ObjectTree.h"
#include "kelvo/tasks/UpdateManager.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/3DSpace.h"
#include "kelvo/world/CameraLogic.h"
#include "kelvo/world/InputTargetLogic.h"
#include "platform/Log.h"

CGame* g_pGame = nullptr;

CGame::CGame()
    : m_Space(new C3DSpace({{-100.0f, -100.0f, -100.0f, 1.0f}, {100.0f, 100.0f, 100.0f, 1.0f}}))
    , m_SerialUpdateKinds{CCameraLogic::StaticTypeId(), C3DObjectLogic::StaticTypeId(),
                          CInputTargetLogic::StaticTypeId()}
{
    g_pGame = this;
    // The 15-step unit circle table, written to the log at start-up.
    for (int i = 0; i < 15; ++i) {
        const double angle = i * 2.0 * std::numbers::pi / 15.0;
        DebugLog("{%f, %f},\n", std::sin(angle), std::cos(angle));
    }
}

CGame::~CGame()
{
    delete m_Space;
    if (g_pGame == this)
        g_pGame = nullptr;
}

void CGame::Frame()
{
    UpdatePressureEngine();
    UpdateObjects();
    RefreshSpace();
    RunDemo();
    RenderFrame();
}

void CGame::UpdatePressureEngine()
{
    // The pressure engine joins here with the render pipeline.
}

void CGame::UpdateObjects()
{
    for (uint32_t kind : m_ParallelUpdateKinds)
        WalkObjectTree(static_cast<CGameObject*>(this), kind, &g_UpdateManager);
    g_UpdateManager.Wait();
    for (uint32_t kind : m_SerialUpdateKinds)
        WalkObjectTree<CUpdateManager>(this, kind, nullptr);
}

void CGame::RefreshSpace()
{
    m_Space->Refresh();
}

void CGame::AddToSpace(CGameObject* object)
{
    if (auto* logic = static_cast<C3DObjectLogic*>(object->FindLogic(C3DObjectLogic::StaticTypeId())))
        m_Space->Insert(logic);
}

void CGame::RunDemo()
{
    // The demo timeline joins here with the show.
}

void CGame::RenderFrame()
{
    // The renderer joins here with the render pipeline.
}
