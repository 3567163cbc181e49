#include "kelvo/render/LineQueue.h"

#include "kelvo/gpu/GPUEffect.h"
#include "kelvo/gpu/Mesh.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/render/MeshStream.h"
#include "kelvo/render/OverlayResources.h"

#include <cmath>

void CLineQueue::AddCameraLine(const SVector4& from, const SVector4& to, uint32_t colorFrom, uint32_t colorTo)
{
    m_CameraLines.push_back({from, to, colorFrom, colorTo});
}

void CLineQueue::AddLine(const SVector4& from, const SVector4& to, uint32_t colorFrom, uint32_t colorTo)
{
    m_WorldLines.push_back({from, to, colorFrom, colorTo});
}

void CLineQueue::AddBox(const SVector4& minimum, const SVector4& maximum, uint32_t color)
{
    // Corner bit k picks the maximum on axis k; each edge runs from a corner along one axis
    // whose bit is clear to the corner with that bit set.
    auto corner = [&](uint32_t bits) {
        return SVector4{(bits & 1) ? maximum.x : minimum.x, (bits & 2) ? maximum.y : minimum.y,
                        (bits & 4) ? maximum.z : minimum.z, 1.0f};
    };
    for (uint32_t c = 0; c < 8; ++c)
        for (uint32_t k = 0; k < 3; ++k)
            if ((c & (1u << k)) == 0)
                AddLine(corner(c), corner(c | (1u << k)), color, color);
}

void CLineQueue::AddRay(const SVector4& origin, const SVector4& direction, float length, uint32_t colorFrom,
                        uint32_t colorTo)
{
    const float drawn = length > 0.0f && length < kMaxRayLength ? length : kMaxRayLength;
    const float directionLength = Length(XYZ(direction));
    const float scale = directionLength > 0.0f ? drawn / directionLength : 0.0f;
    const SVector4 to{origin.x + direction.x * scale, origin.y + direction.y * scale,
                      origin.z + direction.z * scale, origin.w};
    AddLine(origin, to, colorFrom, colorTo);
}

void CLineQueue::MoveToCameraSpace(const SMatrix* view)
{
    if (view != nullptr)
        for (const SLineRecord& line : m_WorldLines)
            m_CameraLines.push_back({Point(TransformPoint(XYZ(line.m_From), *view)),
                                     Point(TransformPoint(XYZ(line.m_To), *view)), line.m_ColorFrom,
                                     line.m_ColorTo});
    m_WorldLines.clear();
}

uint32_t CLineQueue::Draw()
{
    SOverlayResources resources;
    const uint32_t acquired = AcquireOverlayResources("line_mesh", kGPUResultOverlayNoLineMesh, resources);
    if (acquired != kGPUResultOk)
        return acquired;
    IGPUEffect* effect = resources.m_Effect;
    CMesh* mesh = resources.m_Mesh;

    SetTechnique("BoundingBox");
    SetPass("P0");
    static CVar* color = GetVariable("r_color", 16);
    color->SetVector(SVector4{1.0f, 1.0f, 1.0f, 0.0f});

    CMeshDataBuffer* positions = FindMeshStream(*mesh, "position", 16);
    CMeshDataBuffer* colors = FindMeshStream(*mesh, "diffuse", 4);
    CMeshDataBuffer* indices = FindMeshStream(*mesh, "indices", 4);
    const auto vertexCount = static_cast<uint32_t>(2 * m_CameraLines.size());
    if (vertexCount > 0 && positions != nullptr && colors != nullptr && indices != nullptr &&
        positions->Resize(vertexCount) && colors->Resize(vertexCount) && indices->Resize(vertexCount))
    {
        for (uint32_t i = 0; i < m_CameraLines.size(); ++i)
        {
            const SLineRecord& line = m_CameraLines[i];
            *positions->Element<SVector4>(2 * i) = line.m_From;
            *positions->Element<SVector4>(2 * i + 1) = line.m_To;
            *colors->Element<uint32_t>(2 * i) = line.m_ColorFrom;
            *colors->Element<uint32_t>(2 * i + 1) = line.m_ColorTo;
            *indices->Element<uint32_t>(2 * i) = 2 * i;
            *indices->Element<uint32_t>(2 * i + 1) = 2 * i + 1;
        }
        mesh->Update();
        if (effect->Begin() == kGPUResultOk)
        {
            mesh->Render();
            effect->End();
        }
    }
    m_CameraLines.clear();
    return kGPUResultOk;
}
