#include "quellbeam/host/GeomTracer.h"

#include "platform/Log.h"
#include "quellbeam/LibraryRandom.h"
#include "quellbeam/host/StartScene.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace quellbeam
{
namespace
{
// Materials are reachable by the kernels for at most this many spheres (3 elements each).
constexpr uint32_t kMaxSceneSpheres = kSceneWindowBytes / (3 * kSceneElementBytes);
constexpr uint32_t kMaxSimulatedBalls = 5000;
// The ball simulation's cube (-1..1, floor at -0.9) scaled into the tree box.
constexpr float kSimulationScale = 214.5f / 2.6f;
constexpr float kSimulationRadiusScale = 1.1f;
constexpr float kMaxSimulatedRadius = 3.3333333f;
constexpr float kFixedTreeBox = 100.0f;
constexpr float kJugglerFloorY = 0.0f;
constexpr float kBallFloorY = -30.0f;
constexpr uint32_t kJugglerFieldSeed = 123;
}

CGeomTracer::CGeomTracer(BackendFactory preferred, BackendFactory fallback)
    : m_PreferredBackend(preferred)
    , m_FallbackBackend(fallback)
{
}

CGeomTracer::~CGeomTracer()
{
    if (m_Backend != nullptr && m_OutputMapped)
        m_Backend->UnmapOutput();
}

// ---- IRayTracer ----

void CGeomTracer::SetGLData(ITracerTexture* output, ITracerTexture* input)
{
    if (m_Backend == nullptr)
    {
        // A missing preferred backend has said why; one that cannot start says it here. Either
        // way the fallback (CPU) backend takes over instead of the process ending.
        std::unique_ptr<ITracerBackend> preferred = m_PreferredBackend();
        if (preferred != nullptr)
        {
            if (int error = preferred->Initialize(); error == kBackendOk)
                m_Backend = std::move(preferred);
            else
                DebugLog("[CGeomTracer::SetGLData] %s backend failed to start (%i: %s): tracing on the CPU\n",
                         preferred->GetName(), error, preferred->DescribeError(error));
        }
        if (m_Backend == nullptr)
        {
            std::unique_ptr<ITracerBackend> fallback = m_FallbackBackend();
            if (fallback == nullptr || fallback->Initialize() != kBackendOk)
            {
                DebugLog("[CGeomTracer::Initialize] Failed allocating memory!\n");
                return;
            }
            m_Backend = std::move(fallback);
        }
        DebugLog("[CGeomTracer::SetGLData] Starting %s\n", m_Backend->GetName());
        Initialize();
    }
    m_Output = output;
    m_Input = input;
    if (int error = m_Backend->RegisterTexture(output); error != kBackendOk)
        DebugLog("[CGeomTracer::SetGLData] RegisterTexture error: %i\n", error);
    if (int error = m_Backend->RegisterTexture(input); error != kBackendOk)
        DebugLog("[CGeomTracer::SetGLData] RegisterTexture2 error: %i\n", error);
}

void CGeomTracer::Initialize()
{
    // The constants set so far (screen size, shading) go over in one block.
    if (int error = m_Backend->WriteConstants(m_Constants, 0, sizeof(m_Constants)); error != kBackendOk)
        DebugLog("[CGeomTracer::Initialize] constants error: %i\n", error);
    m_Spheres.reserve(kStartSphereCount);
    m_Materials.reserve(kStartSphereCount);
    MakeStartScene(LibraryRandom(), kStartSphereCount, m_Spheres, m_Materials);
    const uint32_t count = static_cast<uint32_t>(m_Spheres.size());
    if (int error = m_Backend->WriteSceneData(count * kSceneElementBytes, m_Materials.data(),
                                              count * sizeof(SMaterial));
        error != kBackendOk)
        DebugLog("first materials error: %i\n", error);
    if (int error = m_Backend->WriteSceneData(0, m_Spheres.data(), count * kSceneElementBytes);
        error != kBackendOk)
        DebugLog("first spheres error: %i\n", error);
    DebugLog("[mats count] %i sp %08x\n", static_cast<int>(count),
             static_cast<unsigned>(m_Backend->GetSceneBufferAddress()));
}

bool CGeomTracer::SetScreenSize(uint32_t width, uint32_t height)
{
    m_Width = width;
    m_Height = height;
    // Work units of 128 x 8 pixels (8 tiles of 16 x 8 side by side); partial units at the right
    // and bottom edges are included, so every pixel of any size is traced.
    const uint32_t unitsAcross = (width + 127) / 128;
    m_Constants.totalBlocks = unitsAcross * ((height + 7) / 8);
    if (int error = UploadConstant(&m_Constants.totalBlocks, sizeof(uint32_t)); error != kBackendOk)
    {
        DebugLog("[CGeomTracer::SetScreenSize] WriteConstants 1 error: %i!\n", error);
        return false;
    }
    m_Constants.blocksX = unitsAcross;
    if (int error = UploadConstant(&m_Constants.blocksX, sizeof(uint32_t)); error != kBackendOk)
    {
        DebugLog("[CGeomTracer::SetScreenSize] WriteConstants 2 error: %i!\n", error);
        return false;
    }
    return true;
}

void CGeomTracer::SetTexture(ITracerTexture* texture)
{
    if (m_Backend == nullptr)
        return;
    if (texture != nullptr && m_RegisteredTextures.insert(texture).second)
        if (int error = m_Backend->RegisterTexture(texture); error != kBackendOk)
            DebugLog("[CGeomTracer::SetTexture] RegisterTexture error: %i\n", error);
    if (texture == m_FloorTexture)
        return;
    m_FloorTexture = texture;
    const int error = m_Backend->BindFloorTexture(texture);
    if (error != kBackendOk)
        DebugLog("[CGeomTracer::SetTexture] BindFloorTexture error: %i\n", error);
    else if (texture != nullptr)
        DebugLog("[ok]\n");
}

void CGeomTracer::Prepare()
{
    if (m_Backend == nullptr)
        return;
    if (int error = m_Backend->MapOutput(m_Output); error != kBackendOk)
    {
        DebugLog("[Quellbeam::Prepare] MapOutput error: %i!\n", error);
        return;
    }
    m_OutputMapped = true;
    // Work counter and tree allocator start over each frame.
    if (int error = m_Backend->ResetFrame(); error != kBackendOk)
        DebugLog("[Quellbeam::Prepare] ResetFrame error: %i!\n", error);
}

void CGeomTracer::SetView(const SViewBlock* view)
{
    static_assert(sizeof(m_Constants.view) == sizeof(SViewBlock));
    if (view == nullptr)
        return;
    std::copy_n(&view->position[0], 4, &m_Constants.view[0][0]);
    for (int corner = 0; corner < 4; ++corner)
        std::copy_n(&view->corners[corner][0], 4, &m_Constants.view[1 + corner][0]);
    // The renderer sets the view after Prepare: upload it now so this frame uses this camera.
    UploadConstant(m_Constants.view, sizeof(m_Constants.view));
}

void CGeomTracer::Trace()
{
    if (m_Backend == nullptr)
        return;
    const uint32_t count = static_cast<uint32_t>(m_Spheres.size());
    if (int error = m_Backend->BuildTree(count, m_TreeCopy); error != kBackendOk)
        DebugLog("[CGeomTracer::UpdateTree] error: %i\n", error);
    if (int error = m_Backend->TraceFrame(count, m_Width, m_Height); error != kBackendOk)
        DebugLog("error after trace%i\n", error);
}

void CGeomTracer::Finish()
{
    if (m_Backend == nullptr || !m_OutputMapped)
        return;
    m_OutputMapped = false;
    if (int error = m_Backend->UnmapOutput(); error != kBackendOk)
        DebugLog("[CGeomTracer::Finish] error: %i\n", error);
}

// ---- ITracer ----

void CGeomTracer::Update()
{
    CSectionLock lock(this);
    if (m_Mode == ESceneMode::JugglerField || m_Mode == ESceneMode::SingleJuggler)
        PlaceJugglers(m_JugglerModel, m_Instances, m_Staging, m_Materials);
    else if (m_Mode == ESceneMode::BallSimulation)
        m_BallSimulation.Advance(static_cast<double>(m_SceneClock) * 1000.0);
}

void CGeomTracer::UploadSpheres()
{
    BuildSphereList();
    const uint32_t count = static_cast<uint32_t>(m_Spheres.size());
    if (m_Backend != nullptr && count > 0)
        if (int error = m_Backend->WriteSceneData(0, m_Spheres.data(), count * kSceneElementBytes);
            error != kBackendOk)
            DebugLog("[CGeomTracer::UploadSpheres] spheres error: %i\n", error);
}

void CGeomTracer::BuildSphereList()
{
    const size_t previousCount = m_Spheres.size();
    if (m_Mode == ESceneMode::JugglerField || m_Mode == ESceneMode::SingleJuggler)
        std::swap(m_Staging, m_Spheres);
    else if (m_Mode == ESceneMode::BallSimulation)
    {
        const std::vector<SBall>& balls = m_BallSimulation.GetBalls();
        const size_t count = std::min<size_t>(balls.size(), kMaxSimulatedBalls);
        m_Spheres.resize(count);
        for (size_t i = 0; i < count; ++i)
        {
            const SBall& ball = balls[i];
            m_Spheres[i] =
                SVec4{ball.position[0] * kSimulationScale, ball.position[1] * kSimulationScale,
                      ball.position[2] * kSimulationScale,
                      std::min(ball.radius * kSimulationRadiusScale * kSimulationScale, kMaxSimulatedRadius)};
        }
    }
    // Spheres past the kernels' window would have no reachable material.
    if (m_Spheres.size() > kMaxSceneSpheres)
        m_Spheres.resize(kMaxSceneSpheres);

    const uint32_t count = static_cast<uint32_t>(m_Spheres.size());
    if (m_Spheres.size() != previousCount)
    {
        m_Materials.resize(count);
        if (m_Backend != nullptr && count > 0)
            if (int error = m_Backend->WriteSceneData(count * kSceneElementBytes, m_Materials.data(),
                                                      count * sizeof(SMaterial));
                error != kBackendOk)
                DebugLog("[CGeomTracer::UploadSpheres] materials error: %i\n", error);
    }

    if (m_Mode == ESceneMode::SingleJuggler || m_Mode == ESceneMode::BallSimulation)
    {
        SetTreeBox(-kFixedTreeBox, kFixedTreeBox);
        return;
    }
    // One cube around every ball, always holding the origin.
    float minimum = 0.0f;
    float maximum = 0.0f;
    for (const SVec4& s : m_Spheres)
    {
        minimum = std::min({minimum, s.x - s.w, s.y - s.w, s.z - s.w});
        maximum = std::max({maximum, s.x + s.w, s.y + s.w, s.z + s.w});
    }
    SetTreeBox(minimum, maximum);
}

void CGeomTracer::SetTreeBox(float minimum, float maximum)
{
    m_Constants.maxBB = maximum;
    if (int error = UploadConstant(&m_Constants.maxBB, sizeof(float)); error != kBackendOk)
        DebugLog("SetTreeBox Max error: %i\n", error);
    m_Constants.minBB = minimum;
    if (int error = UploadConstant(&m_Constants.minBB, sizeof(float)); error != kBackendOk)
        DebugLog("SetTreeBox Min error: %i\n", error);
}

void CGeomTracer::SetShading(bool floorTextured, const float* colourA, const float* colourB,
                             const float* light)
{
    if (floorTextured != m_FloorTexturedSent)
    {
        m_FloorTexturedSent = floorTextured;
        m_Constants.planeTexture = floorTextured ? 1 : 0;
        UploadConstant(&m_Constants.planeTexture, sizeof(uint32_t));
    }
    if (colourA != nullptr)
    {
        std::copy_n(colourA, 3, &m_Constants.mat[0]);
        UploadConstant(&m_Constants.mat[0], 3 * sizeof(float));
    }
    if (colourB != nullptr)
    {
        std::copy_n(colourB, 3, &m_Constants.mat[8]);
        UploadConstant(&m_Constants.mat[8], 3 * sizeof(float));
    }
    if (light != nullptr)
    {
        std::copy_n(light, 3, m_Constants.lightPos);
        UploadConstant(m_Constants.lightPos, sizeof(m_Constants.lightPos));
    }
}

void CGeomTracer::WriteFloorMaterialPart(float reflectance, float diffuse, float w6)
{
    for (int material = 0; material < 2; ++material)
    {
        float* part = &m_Constants.mat[8 * material + 4];
        part[0] = reflectance;
        part[1] = diffuse;
        part[2] = w6;
        UploadConstant(part, 3 * sizeof(float));
    }
}

void CGeomTracer::StartBallSimulation(int configuration)
{
    CSectionLock lock(this);
    if (m_Mode == ESceneMode::BallSimulation)
        return;
    m_BallSimulation.Start(configuration, LibraryRandom());
    m_Constants.planeY = kBallFloorY;
    UploadConstant(&m_Constants.planeY, sizeof(float));
    WriteFloorMaterialPart(0.7f, 0.3f, 0.0f);
    m_Mode = ESceneMode::BallSimulation;
    Update();
}

void CGeomTracer::StartSingleJuggler()
{
    CSectionLock lock(this);
    if (m_Mode == ESceneMode::SingleJuggler)
        return;
    m_Constants.planeY = kJugglerFloorY;
    UploadConstant(&m_Constants.planeY, sizeof(float));
    m_Mode = ESceneMode::SingleJuggler;
    m_Instances.assign(1, MakeSingleJuggler());
    WriteFloorMaterialPart(0.0f, 0.9f, 0.0f);
    Update();
}

void CGeomTracer::StartJugglerField()
{
    CSectionLock lock(this);
    if (m_Mode == ESceneMode::JugglerField)
        return;
    WriteFloorMaterialPart(0.0f, 0.9f, 0.0f);
    m_Constants.planeY = kJugglerFloorY;
    UploadConstant(&m_Constants.planeY, sizeof(float));
    m_Mode = ESceneMode::JugglerField;
    // A fixed seed lays out the same field on every run.
    LibraryRandom().Seed(kJugglerFieldSeed);
    m_Instances = MakeJugglerField(LibraryRandom());
    DebugLog("[CGeomTracer::CGeomTracer] instances: %i\n", static_cast<int>(m_Instances.size()));
    Update();
}

void CGeomTracer::SetTime(float seconds)
{
    CSectionLock lock(this);
    m_SceneClock = seconds;
    for (SJugglerInstance& instance : m_Instances)
        instance.time = seconds;
}

void CGeomTracer::SetGravity(const float* acceleration)
{
    if (acceleration == nullptr)
        return;
    CSectionLock lock(this);
    m_BallSimulation.SetAcceleration(acceleration);
}

int CGeomTracer::UploadConstant(const void* field, uint32_t bytes)
{
    if (m_Backend == nullptr)
        return kBackendOk;
    const auto offset =
        static_cast<uint32_t>(static_cast<const char*>(field) - reinterpret_cast<const char*>(&m_Constants));
    return m_Backend->WriteConstants(m_Constants, offset, bytes);
}
}
