// The debugging display drawn around one mesh's surfaces: boxes drawn white with surface 0,
// triangle groups of which one at a time is outlined (End shows the next, Home the previous,
// on each press; past either end none is shown), the surface and its triangle count written
// while Space is held, and a few surfaces hidden while left Shift is held. With no boxes, no
// groups and no keys held it does nothing.
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/gpu/MeshDebugDraw.h"

#include <cstdint>
#include <utility>
#include <vector>

class CMesh;

class CMeshDebugDisplay
{
public:
    static constexpr uint32_t kBoxColor = 0x00FFFFFF;
    static constexpr uint32_t kTriangleGroupColor = 0x00FFFF00;

    void AddBox(const SBox& box) { m_Boxes.push_back(box); }
    // Triangle numbers of the mesh (primitive index in "indices").
    void AddTriangleGroup(std::vector<uint32_t> triangles) { m_Groups.push_back(std::move(triangles)); }
    // The keys and the drawer, not owned; null gives back the process default.
    void SetAids(const SMeshDebugAids* aids) { m_Aids = aids; }
    // The aids of every display left to the default: the platform's keys and no drawer until
    // the renderer registers itself.
    static SMeshDebugAids& DefaultAids();

    // Called before surface index of mesh is drawn; false when the surface is to be hidden.
    bool BeforeSurface(const CMesh& mesh, uint32_t index);
    // The outlined group; -1 for none.
    int32_t GetShownGroup() const { return m_ShownGroup; }

private:
    void StepShownGroup(const SInputQueries& input);
    void OutlineGroup(const CMesh& mesh, const std::vector<uint32_t>& triangles, IMeshDebugDraw& draw) const;

    const SMeshDebugAids* m_Aids = nullptr;
    std::vector<SBox> m_Boxes;
    std::vector<std::vector<uint32_t>> m_Groups;
    int32_t m_ShownGroup = -1;
    bool m_HomeWasHeld = false;
    bool m_EndWasHeld = false;
};
