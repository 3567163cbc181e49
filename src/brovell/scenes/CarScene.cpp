#include "brovell/scenes/CarScene.h"

#include "brovell/Game.h"
#include "brovell/StaticObjects.h"
#include "brovell/demo/Harlune1.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/Material.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/PresentPhase.h"
#include "kelvo/tasks/TaskManager.h"
#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/world/ParticlesGroupObject.h"
#include "platform/Log.h"

#include <algorithm>
#include <cstdio>
#include <string>
#include <unistd.h>

namespace
{
constexpr const char* kCellFile = "car7b.ppm";
constexpr const char* kCarMesh = "BugattiVeyron.x";
constexpr const char* kMaterial = "car_scene_particles";
constexpr float kParticlePlaneTurn = -1.5707964f;
constexpr int kWarmUpRounds = 10;
constexpr int kWarmUpSteps = 10;
const SVector4 kStreakColor{0.5f, 0.5f, 0.5f, 0.3f};
const SVector4 kWhite{1.0f, 1.0f, 1.0f, 0.0f};
const SVector4 kBlack{0.0f, 0.0f, 0.0f, 0.0f};

// Camera keys: three rows of a matrix with its translation in the fourth column.
constexpr float kSideView[12] = {-0.150629f, -0.0059315f, -0.988574f, -19.1698f,   0.0f,       0.999983f,
                                 -0.006f,    -0.299493f,  0.988592f,  -0.0009038f, -0.150626f, -2.90328f};
constexpr float kCraneView[12] = {0.191605f,  0.16895f, 0.966826f,  7.33469f,   0.0f,      0.985074f,
                                  -0.172138f, 3.81688f, -0.981475f, 0.0329822f, 0.188745f, 10.4459f};
constexpr float kFrontView[12] = {-0.838871f, -0.134143f, 0.527546f,  9.42475f,  0.0f,       0.969159f,
                                  0.246435f,  3.56959f,   -0.544333f, 0.206728f, -0.813001f, -16.4904f};

// The script's windows exclude their bounds; between them the frame keeps what it had.
bool InScriptWindow(float time)
{
    return time < 6.0f || (time > 6.0f && time < 12.0f) || (time > 12.0f && time < 18.0f) ||
           (time > 18.0f && time < 24.0f);
}

void SetOverlay(const SVector4& color, float amount)
{
    if (g_pGame)
        g_pGame->GetRenderProcess().GetPresentPhase()->SetOverlay(color, amount);
}

// The tunnel or the end: a cell file that cannot be used leaves nothing to show.
void SetupTunnelOrExit(CWindTunnel& tunnel)
{
    const std::string path = CResourceManager::Instance().GetPath(kCellFile);
    std::string error = std::string("Cannot open the file: ") + kCellFile;
    if (!path.empty() && tunnel.Setup(path, error))
        return;
    std::printf("%s\n", error.c_str());
    std::fflush(stdout);
    DebugLog("[CCarScene::LoadResources] %s\n", error.c_str());
    _exit(1);
}
}

CCarScene::CCarScene()
    : CCarScene(g_TaskManager)
{
}

CCarScene::CCarScene(CTaskManager& taskManager)
    : m_TaskManager(taskManager)
    , m_Tunnel(m_Random)
    , m_Camera(MatrixIdentity())
{
}

CCarScene::~CCarScene()
{
    if (m_OwnsParticles)
    {
        for (CObjectLogicBase* logic : m_Particles->GetLogics())
            delete logic;
        delete m_Particles;
    }
    if (g_pGPUImplementation && m_CarMesh.IsValid())
        g_pGPUImplementation->ReleaseResource(&m_CarMesh);
}

bool CCarScene::GetCameraMatrix(SMatrix& outMatrix) const
{
    outMatrix = m_Camera;
    return true;
}

void CCarScene::UpdateAsync()
{
    m_Tunnel.Step(kFlowTimeScale * m_Time.load());
}

void CCarScene::LoadResources()
{
    if (g_pGPUImplementation)
        g_pGPUImplementation->LoadMesh(kCarMesh, m_CarMesh);
    SetupTunnelOrExit(m_Tunnel);

    if (g_pGPUImplementation)
        if (CMaterial* material = g_pGPUImplementation->GetOrCreateMaterial(kMaterial))
            material->Setup("default", "color_particles", {}, {});
    m_Particles = new CParticlesGroupObject(kMaterial);
    m_OwnsParticles = g_pGame == nullptr;
    if (g_pGame)
    {
        m_Particles->SetParent(g_pGame);
        // Only what the space holds is drawn.
        g_pGame->AddToSpace(m_Particles);
    }
    auto* place = static_cast<C3DObjectLogic*>(m_Particles->FindLogic(C3DObjectLogic::StaticTypeId()));
    STransformState state = place->GetTransformState();
    state.local = MatrixRotationY(kParticlePlaneTurn);
    place->SetTransformState(state);

    // The flow develops; the particles stay, since the time step is still zero.
    for (int round = 0; round < kWarmUpRounds; ++round)
    {
        for (int step = 0; step < kWarmUpSteps; ++step)
            m_Tunnel.Step(0.0f);
        if (g_pHarlune1)
            g_pHarlune1->OnLoadResource();
    }
    // The streaks' memory (their points, the group's buffer and its copy on the GPU) is taken
    // while loading rather than on the scene's first frame. The tunnel has not moved since, so
    // that frame draws the same streaks.
    TakeParticleHeads();
    DrawStreaks();
}

void CCarScene::Frame(float time)
{
    m_Time.store(time);
    static CVar* s_Color = GetVariable("r_color", 16);
    s_Color->SetVector(kStreakColor);

    // The previous step is done: draw from it, then start the next one.
    m_TaskManager.WaitGroup(nullptr, "Default");
    TakeParticleHeads();
    // Every window of the script respawns anywhere; set before the step starts.
    if (InScriptWindow(time))
        m_Tunnel.SetRespawnMode(1);
    QueueTask(m_TaskManager);
    // The streaks are built while the next step runs.
    DrawStreaks();

    if (g_pKelvoRenderer && g_pGame)
        g_pKelvoRenderer->SetRenderProcess(&g_pGame->GetRenderProcess());
    if (!m_CameraNoise)
        m_CameraNoise = GetVariable("r_camera_noise", 4);
    RunScript(time);
}

void CCarScene::TakeParticleHeads()
{
    m_Streaks.TakeHeads(m_Tunnel.GetParticlesX().data(), m_Tunnel.GetParticlesY().data(),
                        CWindTunnel::kParticleCount);
}

void CCarScene::DrawStreaks()
{
    m_Streaks.Build();
    if (m_Particles)
        m_Particles->SetPositions(m_Streaks.GetPoints().data(),
                                  static_cast<uint32_t>(m_Streaks.GetPoints().size()), sizeof(SVector4));
}

void CCarScene::RunScript(float time)
{
    float noise = 0.0f;
    if (time < 6.0f)
    {
        SetCamera(kSideView);
        SetOverlay(kWhite, std::min((2.0f - time) * 0.5f, 1.0f));
        noise = 0.4f;
    }
    else if (time > 6.0f && time < 12.0f)
    {
        SetCamera(kCraneView);
        if (!m_CraneCaptured)
        {
            m_CraneStart = {m_Camera.m[12], m_Camera.m[13], m_Camera.m[14]};
            m_CraneCaptured = true;
        }
        m_Camera.m[12] = m_CraneStart.x + 20.0f;
        m_Camera.m[13] = m_CraneStart.y - 0.16f * (time - 6.0f) * 10.0f;
        m_Camera.m[14] = m_CraneStart.z;
        noise = 0.6f;
    }
    else if (time > 12.0f && time < 18.0f)
    {
        SetCamera(kSideView);
        noise = 0.8f;
    }
    else if (time > 18.0f && time < 24.0f)
    {
        SetCamera(kFrontView);
        SetOverlay(kBlack, std::min((time - 22.0f) * 0.5f, 1.0f));
        noise = 1.3f;
    }
    else
        return;
    m_CameraNoise->SetFloat(noise);
}

void CCarScene::SetCamera(const float key[12])
{
    // The key's rows are the columns of the row-vector matrix.
    for (int row = 0; row < 4; ++row)
        for (int column = 0; column < 4; ++column)
            m_Camera.m[row * 4 + column] = column < 3 ? key[column * 4 + row] : (row == 3 ? 1.0f : 0.0f);
}
