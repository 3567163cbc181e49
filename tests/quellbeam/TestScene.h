// A traceable scene for kernel tests: spheres, materials, a built tree and constants, with a
// brute-force nearest-hit reference.
#pragma once

#include "quellbeam/cpu/BallTreeBuilder.h"
#include "quellbeam/host/Material.h"
#include "quellbeam/kernel/Shading.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace quellbeam::test
{
class CTestScene
{
public:
    // Lists the spheres in the cube [minBB, maxBB]; materials default to matte white.
    void Build(const std::vector<SVec4>& spheres, std::vector<SMaterial> materials, float minBB, float maxBB)
    {
        m_Count = static_cast<uint32_t>(spheres.size());
        materials.resize(spheres.size(), SMaterial{{1, 1, 1}, 1, 0, 1, 0, 0});
        m_Data.assign(3 * spheres.size(), SVec4{0, 0, 0, 0});
        std::copy(spheres.begin(), spheres.end(), m_Data.begin());
        if (!materials.empty())
            std::memcpy(&m_Data[m_Count], materials.data(), materials.size() * sizeof(SMaterial));
        constants.minBB = minBB;
        constants.maxBB = maxBB;
        m_Memory.assign(kTreeWindowWords, 0);
        complete = CBallTreeBuilder().Build(m_Data.data(), m_Count, minBB, maxBB, m_Tree, m_Memory.data(),
                                            kTreeWindowWords);
    }

    SSceneView View() const
    {
        return SSceneView{m_Data.data(),
                          m_Count,
                          m_Tree,
                          m_Memory.data(),
                          floorTexels.empty() ? nullptr : floorTexels.data(),
                          floorWidth,
                          floorHeight};
    }

    // Nearest hit over every sphere, with the kernels' ball test.
    SRayHit BruteForce(SVec3 origin, SVec3 direction) const
    {
        SRayHit hit;
        const float dd = Dot(direction, direction);
        for (uint32_t i = 0; i < m_Count; ++i)
            if (IntersectBall(m_Data[i], origin, direction, dd, 1.0f / dd, hit.t))
                hit.ball = i;
        return hit;
    }

    const uint32_t* Tree() const { return m_Tree; }
    const std::vector<uint32_t>& Memory() const { return m_Memory; }

    SKernelConstants constants;
    bool complete = false;
    std::vector<uint32_t> floorTexels;
    uint32_t floorWidth = 0;
    uint32_t floorHeight = 0;

private:
    uint32_t m_Count = 0;
    std::vector<SVec4> m_Data;
    std::vector<uint32_t> m_Memory;
    uint32_t m_Tree[kTreeDescriptorWords] = {};
};

// The cube around all spheres that the tracer's host side fits in modes 0 and 1.
inline void FitCube(const std::vector<SVec4>& spheres, float& minimum, float& maximum)
{
    minimum = maximum = 0.0f;
    for (const SVec4& s : spheres)
    {
        minimum = std::min({minimum, s.x - s.w, s.y - s.w, s.z - s.w});
        maximum = std::max({maximum, s.x + s.w, s.y + s.w, s.z + s.w});
    }
}

// Every ball index of a list, following links, without the traversal's depth limit.
inline std::vector<uint32_t> ReadList(const std::vector<uint32_t>& memory, uint32_t chunk)
{
    std::vector<uint32_t> balls;
    for (int guard = 0; chunk != kListEnd && guard < 100000; ++guard)
    {
        uint32_t slot = 0;
        for (; slot < kChunkLinkSlot && memory[chunk + slot] != kListEnd; ++slot)
            balls.push_back(memory[chunk + slot]);
        if (slot < kChunkLinkSlot)
            break;
        chunk = memory[chunk + kChunkLinkSlot];
    }
    return balls;
}
}
