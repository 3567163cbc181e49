#include "kelvo/physics/PressureEngine.h"

#include "kelvo/physics/PhysicsModel.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUTexture.h"
#include "platform/Log.h"

#include <algorithm>

IPressureEngine* g_pPressureEngine = nullptr;

namespace
{
constexpr uint32_t kFloat4Format = 4;
constexpr uint32_t kFloatFormat = 2;
constexpr uint32_t kVertexEdge = 128;
constexpr uint32_t kTriangleEdge = 128;
constexpr uint32_t kSpringEdge = 128;
constexpr uint32_t kGroupEdge = 64;
constexpr uint32_t kGroupPairEdge = 128;

struct STaskSetUp
{
    const char* m_Technique;
    const char* m_Effect;
};

constexpr STaskSetUp kTaskSetUps[CPressureEngine::kTaskCount] = {
    {"groups_bb_max_task", "collision.e"},    {"groups_bb_min_task", "collision.e"},
    {"groups_collision_task", "collision.e"}, {"triangle_collision_task", "collision.e"},
    {"sum_norm_task", "pressure.e"},          {"volume_task", "pressure.e"},
    {"sum_volume_lines_task", "pressure.e"},  {"sum_volume_task", "pressure.e"},
    {"spring_forces_task", "pressure.e"},     {"sum_forces_task", "pressure.e"},
    {"apply_forces_task", "pressure.e"},      {"triangle_normals_task", "pressure.e"},
    {"sum_norm_task", "pressure.e"},
};

constexpr const char* kNamedTextureNames[CPressureEngine::kNamedTextureCount] = {
    "pressure_engine_triangles",
    "pressure_engine_triangles_field",
    "pressure_engine_springs",
    "pressure_engine_sum_springs",
    "pressure_engine_sum_norm",
    "pressure_engine_groups",
    "pressure_engine_groups_header",
    "pressure_engine_group_pairs",
    "pressure_engine_sum_triangles_collisions",
    "pressure_engine_sum_volume_lines",
    "pressure_engine_sum_volume",
};
}

CPressureEngine::CPressureEngine()
{
    g_pPressureEngine = this;
    CreateTextures();
    CreateTasks();
}

CPressureEngine::~CPressureEngine()
{
    for (STexture& texture : m_VertexTextures)
        ReleaseTexture(texture);
    for (STexture& texture : m_NamedTextures)
        ReleaseTexture(texture);
    for (STexture& texture : m_SumTargets)
        ReleaseTexture(texture);
    ReleaseTexture(m_Pressures);
    if (g_pPressureEngine == this)
        g_pPressureEngine = nullptr;
}

const char* CPressureEngine::GetTaskTechnique(ETask task)
{
    return kTaskSetUps[task].m_Technique;
}

const char* CPressureEngine::GetNamedTextureName(ENamedTexture index)
{
    return kNamedTextureNames[index];
}

void CPressureEngine::AddModel(IPhysicsModel* model)
{
    CSectionLock lock(this);
    m_Models.push_back(model);
    m_RebuildPending = true;
}

void CPressureEngine::RemoveModel(IPhysicsModel* model)
{
    CSectionLock lock(this);
    const auto found = std::find(m_Models.begin(), m_Models.end(), model);
    if (found != m_Models.end())
        m_Models.erase(found);
    m_RebuildPending = true;
}

std::size_t CPressureEngine::GetModelCount()
{
    CSectionLock lock(this);
    return m_Models.size();
}

void CPressureEngine::Update()
{
    CSectionLock lock(this);
    if (m_Models.empty())
        return;
    // Models step in registration order; the device passes need uploaded bodies, and no
    // body is uploaded until a model kind that feeds them exists.
    for (IPhysicsModel* model : m_Models)
        model->Step();
}

bool CPressureEngine::CreateTexture(STexture& texture, const std::string& name, uint32_t width,
                                    uint32_t height, uint32_t format, bool renderTarget)
{
    IGPUImplementation* backend = g_pGPUImplementation;
    if (backend == nullptr || backend->CreateTexture(name, width, height, 1, format, renderTarget,
                                                     texture.m_Handle) != kGPUResultOk)
    {
        DebugLog("[CPressureEngine::CreateTexture] Failed to create texture: %s!\n", name.c_str());
        texture = {};
        return false;
    }
    texture.m_Texture = GPUResourceCast<IGPUTexture>(backend->GetResource(texture.m_Handle));
    texture.m_Edge = width;
    return texture.m_Texture != nullptr;
}

void CPressureEngine::ReleaseTexture(STexture& texture)
{
    if (texture.m_Texture != nullptr && g_pGPUImplementation != nullptr)
        g_pGPUImplementation->ReleaseResource(&texture.m_Handle);
    texture = {};
}

void CPressureEngine::CreateTextures()
{
    for (STexture& texture : m_VertexTextures)
        CreateTexture(texture, "", kVertexEdge, kVertexEdge, kFloat4Format, false);
    for (uint32_t i = 0; i < kNamedTextureCount; ++i)
    {
        const uint32_t edge = i == kGroupsHeader ? kGroupEdge : kTriangleEdge;
        CreateTexture(m_NamedTextures[i], kNamedTextureNames[i], edge, edge, kFloat4Format,
                      i == kTrianglesField);
    }
    CreateTexture(m_Pressures, "pressure_engine_pressures", kPressuresWidth, 1, kFloatFormat, false);
    char name[64];
    for (uint32_t i = 0; i < kSumTargetCount; ++i)
    {
        const uint32_t edge = 1u << i;
        std::snprintf(name, sizeof(name), "pressure_engine_sum_tex_%i", static_cast<int>(edge));
        CreateTexture(m_SumTargets[i], name, edge, edge, kFloatFormat, true);
    }
}

void CPressureEngine::SetUpTask(ETask task, uint32_t edge, std::initializer_list<IGPUTexture*> inputs)
{
    CPixelTaskDesc& desc = m_Tasks[task];
    const STaskSetUp& setUp = kTaskSetUps[task];
    if (!desc.SetEffect(setUp.m_Effect, setUp.m_Technique, "P0") ||
        !desc.SetRTDesc(edge, kFloat4Format, "", 1))
        DebugLog("[CPressureEngine::SetUpTask] Failed to set up task: %s!\n", setUp.m_Technique);
    uint32_t stage = 0;
    for (IGPUTexture* input : inputs)
        desc.SetInput(stage++, input);
}

void CPressureEngine::CreateTasks()
{
    auto named = [this](ENamedTexture index) { return m_NamedTextures[index].m_Texture; };
    auto vertex = [this](EVertexTexture index) { return m_VertexTextures[index].m_Texture; };
    auto output = [this](ETask task) { return m_Tasks[task].GetOutput(0); };
    const uint32_t modelEdge = std::max<uint32_t>(1, static_cast<uint32_t>(m_Models.size()));

    // Collisions: group boxes, overlapping group pairs, triangle hits, per-vertex sums.
    SetUpTask(kTaskGroupsBoxMax, kGroupEdge, {named(kGroupsHeader), named(kGroups), vertex(kPositions)});
    SetUpTask(kTaskGroupsBoxMin, kGroupEdge, {named(kGroupsHeader), named(kGroups), vertex(kPositions)});
    SetUpTask(kTaskGroupsCollision, kGroupPairEdge,
              {named(kGroupPairs), output(kTaskGroupsBoxMin), output(kTaskGroupsBoxMax)});
    SetUpTask(kTaskTriangleCollision, kTriangleEdge / 2,
              {named(kSumTrianglesCollisions), named(kGroupPairs), output(kTaskGroupsCollision),
               named(kGroupsHeader), named(kGroups), vertex(kPositions), output(kTaskGroupsBoxMin),
               output(kTaskGroupsBoxMax)});
    SetUpTask(kTaskCollisionSum, kVertexEdge,
              {output(kTaskTriangleCollision), vertex(kNormalSumAddress), named(kSumNorm)});
    // Volume and pressure.
    SetUpTask(kTaskVolume, kTriangleEdge / 2, {named(kTriangles), vertex(kPositions)});
    SetUpTask(kTaskSumVolumeLines, kTriangleEdge / 2, {named(kSumVolumeLines), output(kTaskVolume)});
    SetUpTask(kTaskSumVolume, modelEdge, {named(kSumVolume), output(kTaskSumVolumeLines)});
    // Forces, integration, normals.
    SetUpTask(kTaskSpringForces, kSpringEdge / 2, {named(kSprings), vertex(kPositions), vertex(kStateA)});
    SetUpTask(kTaskTriangleNormals, kTriangleEdge / 2, {named(kTriangles), vertex(kPositions)});
    SetUpTask(kTaskNormalSum, kVertexEdge,
              {named(kTrianglesField), vertex(kNormalSumAddress), named(kSumNorm)});
    SetUpTask(kTaskSumForces, kVertexEdge,
              {output(kTaskSpringForces), vertex(kSpringSumAddress), named(kSumSprings),
               output(kTaskNormalSum), output(kTaskSumVolume), vertex(kVertexParameters)});
    SetUpTask(kTaskApplyForces, kVertexEdge,
              {vertex(kStateA), vertex(kPositions), output(kTaskSumForces), output(kTaskCollisionSum)});
}
