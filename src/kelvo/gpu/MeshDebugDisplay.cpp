#include "kelvo/gpu/MeshDebugDisplay.h"

#include "kelvo/gpu/Mesh.h"
#include "platform/window/WindowMessage.h"

#include <algorithm>
#include <cstdio>
#include <iterator>

SMeshDebugAids& CMeshDebugDisplay::DefaultAids()
{
    static SMeshDebugAids s_Aids;
    return s_Aids;
}

bool CMeshDebugDisplay::BeforeSurface(const CMesh& mesh, uint32_t index)
{
    const SMeshDebugAids& aids = m_Aids != nullptr ? *m_Aids : DefaultAids();
    StepShownGroup(aids.m_Input);
    if (aids.m_Draw != nullptr && index == 0)
    {
        for (const SBox& box : m_Boxes)
            aids.m_Draw->DrawBox(box, kBoxColor);
        if (m_ShownGroup >= 0)
            OutlineGroup(mesh, m_Groups[m_ShownGroup], *aids.m_Draw);
    }

    constexpr uint32_t kHiddenWithShift[] = {0, 1, 7, 17, 19, 28, 46};
    if (aids.m_Input.IsHeld(platform::VK_LSHIFT) &&
        std::find(std::begin(kHiddenWithShift), std::end(kHiddenWithShift), index) !=
            std::end(kHiddenWithShift))
        return false;

    if (aids.m_Draw != nullptr && aids.m_Input.IsHeld(platform::VK_SPACE) &&
        index < mesh.GetSurfaces().size())
    {
        char text[64];
        std::snprintf(text, sizeof(text), "surface: %i, tris: %i", static_cast<int>(index),
                      static_cast<int>(mesh.GetSurfaces()[index].m_PrimitiveCount));
        aids.m_Draw->DrawText({0.1f, 0.1f, 0.0f, 0.0f}, text, 0);
    }
    return true;
}

void CMeshDebugDisplay::StepShownGroup(const SInputQueries& input)
{
    const bool homeHeld = input.IsHeld(platform::VK_HOME);
    const bool endHeld = input.IsHeld(platform::VK_END);
    const auto count = static_cast<int32_t>(m_Groups.size());
    // Steps cycle through none, 0, ..., count - 1.
    if (endHeld && !m_EndWasHeld)
        m_ShownGroup = m_ShownGroup + 1 < count ? m_ShownGroup + 1 : -1;
    if (homeHeld && !m_HomeWasHeld)
        m_ShownGroup = m_ShownGroup < 0 ? count - 1 : m_ShownGroup - 1;
    m_HomeWasHeld = homeHeld;
    m_EndWasHeld = endHeld;
}

void CMeshDebugDisplay::OutlineGroup(const CMesh& mesh, const std::vector<uint32_t>& triangles,
                                     IMeshDebugDraw& draw) const
{
    const CMeshDataBuffer* positions = mesh.FindBuffer("position");
    const CMeshDataBuffer* indices = mesh.FindBuffer("indices");
    if (positions == nullptr || indices == nullptr || positions->GetStride() != sizeof(SVector4) ||
        (indices->GetStride() != sizeof(uint32_t) && indices->GetStride() != sizeof(uint16_t)))
        return;
    const uint32_t indexSize = indices->GetStride();
    auto vertexOf = [&](uint32_t i) -> uint32_t {
        return indexSize == sizeof(uint32_t) ? *indices->Element<uint32_t>(i)
                                             : *indices->Element<uint16_t>(i);
    };
    for (const uint32_t triangle : triangles)
    {
        if (3ull * triangle + 2 >= indices->GetCount())
            continue;
        SVector4 corners[3];
        bool inside = true;
        for (uint32_t k = 0; k < 3; ++k)
        {
            const uint32_t vertex = vertexOf(3 * triangle + k);
            inside = inside && vertex < positions->GetCount();
            if (inside)
                corners[k] = *positions->Element<SVector4>(vertex);
        }
        if (!inside)
            continue;
        for (uint32_t k = 0; k < 3; ++k)
            draw.AddLine(corners[k], corners[(k + 1) % 3], kTriangleGroupColor, kTriangleGroupColor);
    }
}
