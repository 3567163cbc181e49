// The GPU soft-body engine: every per-vertex, per-triangle, per-spring and per-group step is
// a pixel task over square float textures, one texel per element. The constructor creates
// the textures, the reduction targets and the thirteen tasks wired to them; the passes run
// only while models are registered. Registers itself as g_pPressureEngine.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/gpu/MeshDataBuffer.h"
#include "kelvo/gpu/PixelTaskDesc.h"
#include "kelvo/physics/PressureEngineInterface.h"
#include "platform/Section.h"

#include <array>
#include <cstdint>
#include <string>
#include <vector>

class IGPUTexture;

class CPressureEngine : public CSection, public IPressureEngine
{
public:
    // Per-vertex textures, known by handle only.
    enum EVertexTexture : uint32_t
    {
        kPositions,
        kStateA,
        kStateB,
        kNormalSumAddress,
        kSpringSumAddress,
        kVertexParameters,
        kPositionsReadBack,
        kNormalsReadBack,
        kVertexTextureCount
    };
    // Named textures.
    enum ENamedTexture : uint32_t
    {
        kTriangles,
        kTrianglesField,
        kSprings,
        kSumSprings,
        kSumNorm,
        kGroups,
        kGroupsHeader,
        kGroupPairs,
        kSumTrianglesCollisions,
        kSumVolumeLines,
        kSumVolume,
        kNamedTextureCount
    };
    // The pixel tasks, in the order a step runs them.
    enum ETask : uint32_t
    {
        kTaskGroupsBoxMax,
        kTaskGroupsBoxMin,
        kTaskGroupsCollision,
        kTaskTriangleCollision,
        kTaskCollisionSum,
        kTaskVolume,
        kTaskSumVolumeLines,
        kTaskSumVolume,
        kTaskSpringForces,
        kTaskSumForces,
        kTaskApplyForces,
        kTaskTriangleNormals,
        kTaskNormalSum,
        kTaskCount
    };
    static constexpr uint32_t kSumTargetCount = 10;
    static constexpr uint32_t kPressuresWidth = 128;

    CPressureEngine();
    ~CPressureEngine() override;

    void AddModel(IPhysicsModel* model) override;
    void RemoveModel(IPhysicsModel* model) override;
    // Returns at once while no model is registered.
    void Update() override;
    bool Render() override { return true; }

    std::size_t GetModelCount();
    bool IsRebuildPending() const { return m_RebuildPending; }
    IGPUTexture* GetVertexTexture(EVertexTexture index) const { return m_VertexTextures[index].m_Texture; }
    IGPUTexture* GetNamedTexture(ENamedTexture index) const { return m_NamedTextures[index].m_Texture; }
    IGPUTexture* GetSumTarget(uint32_t index) const { return m_SumTargets[index].m_Texture; }
    IGPUTexture* GetPressures() const { return m_Pressures.m_Texture; }
    const CPixelTaskDesc& GetTask(ETask task) const { return m_Tasks[task]; }
    // The name of the technique a task runs.
    static const char* GetTaskTechnique(ETask task);
    static const char* GetNamedTextureName(ENamedTexture index);

private:
    struct STexture
    {
        GPUObjectHandle m_Handle;
        IGPUTexture* m_Texture = nullptr;
        uint32_t m_Edge = 0;
    };

    static bool CreateTexture(STexture& texture, const std::string& name, uint32_t width, uint32_t height,
                              uint32_t format, bool renderTarget);
    static void ReleaseTexture(STexture& texture);
    void CreateTextures();
    void CreateTasks();
    // Effect, technique, one target of format 4 and edge; logs a task that cannot be set up.
    void SetUpTask(ETask task, uint32_t edge, std::initializer_list<IGPUTexture*> inputs);

    std::vector<IPhysicsModel*> m_Models;
    bool m_RebuildPending = true;
    CMeshDataBuffer m_Positions{"positions", 16};
    CMeshDataBuffer m_Normals{"normals", 16};
    CMeshDataBuffer m_Triangles{"triangles", 32};
    CMeshDataBuffer m_Springs{"springs", 16};
    CMeshDataBuffer m_SumAddresses{"sum_addr", 16};
    CMeshDataBuffer m_SumSprings{"sum_springs", 16};
    CMeshDataBuffer m_SumNormals{"sum_norms", 16};
    CMeshDataBuffer m_PressureValues{"pressure", 4};
    CMeshDataBuffer m_FinalPressure{"final_pressure", 16};
    std::array<STexture, kVertexTextureCount> m_VertexTextures{};
    std::array<STexture, kNamedTextureCount> m_NamedTextures{};
    std::array<STexture, kSumTargetCount> m_SumTargets{};
    STexture m_Pressures;
    std::array<CPixelTaskDesc, kTaskCount> m_Tasks;
};
