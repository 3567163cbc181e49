#include "brovell/Game.h"

#include <cmath>
#include <numbers>

#include "brovell/StaticObjects.h"
#include "brovell/tracer/KelvoRayTracer.h"
#include "kelvo/core/ObjectTree.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/physics/PressureEngine.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/tasks/UpdateManager.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/3DSpace.h"
#include "kelvo/world/BeingObjectLogic.h"
#include "kelvo/world/CameraLogic.h"
#include "kelvo/world/InputTargetLogic.h"
#include "kelvo/world/PrimitiveObject.h"
#include "kelvo/world/RenderableLogic.h"
#include "platform/window/Window.h"
#include "platform/Log.h"

CGame* g_pGame = nullptr;

CGame::CGame()
    : m_Space(new C3DSpace({{-100.0f, -100.0f, -100.0f, 1.0f}, {100.0f, 100.0f, 100.0f, 1.0f}}))
    , m_SerialUpdateKinds{CCameraLogic::StaticTypeId(), C3DObjectLogic::StaticTypeId(),
                          CInputTargetLogic::StaticTypeId(), CRenderableLogic::StaticTypeId()}
{
    g_pGame = this;
    g_pGameView = this;
    // The 15-step unit circle table, written to the log at start-up.
    for (int i = 0; i < 15; ++i)
    {
        const double angle = i * 2.0 * std::numbers::pi / 15.0;
        DebugLog("{%f, %f},\n", std::sin(angle), std::cos(angle));
    }
}

CGame::~CGame()
{
    // The space only points at the objects' placement logics, so it goes first; then the
    // objects below the game, each after its children.
    delete m_Space;
    m_Space = nullptr;
    for (CGameObject* child : std::vector<CGameObject*>(GetChildren()))
        DeleteObjectTree(child);
    if (g_pGameView == this)
        g_pGameView = nullptr;
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
    if (g_pPressureEngine != nullptr)
        g_pPressureEngine->Update();
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

void CGame::CreateWorld()
{
    // World objects are the game's: they go with it.
    auto* cameraRig = new CGameObject();
    cameraRig->SetParent(this);
    cameraRig->AddLogic<C3DObjectLogic>();
    cameraRig->AddLogic<CCameraLogic>();
    m_CameraObject = cameraRig;

    // The car shows its mesh with the mesh's own materials.
    auto* car = new CPrimitiveObject(kNoBuiltInPrimitive);
    car->SetParent(this);
    car->AddLogic<CRenderableLogic>()->ShowSurface("BugattiVeyron.am", "");
    AddToSpace(car);

    // The ground: a box 55 units on a side, made once under the name "ground".
    if (g_pGPUImplementation)
        if (CMesh* ground = g_pGPUImplementation->CreateMesh("ground"))
        {
            ground->CreateBox(1.0f, 1.0f, 1.0f);
            ground->Transform(MatrixScaling(55.0f, 55.0f, 55.0f));
            ground->Update();
        }
    auto* groundObject = new CPrimitiveObject(kNoBuiltInPrimitive);
    groundObject->SetParent(this);
    AddToSpace(groundObject);

    auto* walker = new CGameObject();
    walker->SetParent(this);
    CBeingObjectLogic* walkerLogic = walker->AddLogic<CBeingObjectLogic>();
    STransformState state = walkerLogic->GetTransformState();
    state.local = MatrixTranslation(0.0f, 0.0f, 100.0f);
    walkerLogic->SetTransformState(state);

    cameraRig->SetParent(walker);
    m_Demo.SetWalker(walkerLogic);
}

void CGame::DeleteObjectTree(CGameObject* object)
{
    for (CGameObject* child : std::vector<CGameObject*>(object->GetChildren()))
        DeleteObjectTree(child);
    for (CObjectLogicBase* logic : object->GetLogics())
        delete logic;
    delete object;
}

void CGame::AddToSpace(CGameObject* object)
{
    if (auto* logic = static_cast<C3DObjectLogic*>(object->FindLogic(C3DObjectLogic::StaticTypeId())))
        m_Space->Insert(logic);
}

void CGame::RunDemo()
{
    m_Demo.Frame();
}

void CGame::RenderFrame()
{
    if (m_Renderer != nullptr)
        m_Renderer->RenderFrame();
}

void CGame::Render()
{
    if (m_Renderer == nullptr)
        return;
    // Debug aid: left Control shows the space's boxes.
    if (platform::KeyState(platform::VK_LCONTROL) < 0)
        m_Space->DebugDraw([this](const SBox& box, uint32_t color) { m_Renderer->DrawBox(box, color); });
    m_Renderer->RenderScene(m_CameraObject);
}

void CGame::SetRenderer(CKelvoRenderer* renderer)
{
    CSectionLock lock(this);
    if (g_pKelvoRayTracer != nullptr)
        g_pKelvoRayTracer->CreateRenderTargets(CKelvoRenderer::kDefaultWidth, CKelvoRenderer::kDefaultHeight);
    if (m_Renderer != nullptr)
        delete m_Renderer;
    else
        new CPressureEngine();
    m_Renderer = renderer;
    m_Renderer->SetRenderProcess(&m_RenderProcess);
}

void CGame::Shutdown()
{
    CSectionLock lock(this);
    delete g_pPressureEngine;
    g_pPressureEngine = nullptr;
    delete m_Renderer;
    m_Renderer = nullptr;
    if (g_pKelvoRayTracer != nullptr)
        g_pKelvoRayTracer->ReleaseTextures();
    // The process's pictures go back while the device is still there.
    m_RenderProcess.ReleaseTextures();
}
