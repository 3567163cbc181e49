// The CPU backend's own search structure over the balls: a bounding volume hierarchy of nodes
// with eight children, whose boxes are stored axis by axis so that one ray tests all eight at
// once, and leaves of a few balls stored as separate coordinate arrays. Rebuilt every frame
// from the balls the grid lists (those whose box touches the grid's cube), so that it finds
// the same nearest ball as the grid.
#pragma once

#include "quellbeam/kernel/BallTest.h"
#include "quellbeam/kernel/TreeLayout.h"

#include <vector>

namespace quellbeam
{
inline constexpr uint32_t kBvhWidth = 8;
inline constexpr uint32_t kBvhLeafBalls = 8;
// A child word with this bit names a leaf: first ball slot << 3 | (ball count - 1).
inline constexpr uint32_t kBvhLeafFlag = 0x80000000u;
// The child word of unused children, which follow the used ones.
inline constexpr uint32_t kBvhNoChild = 0xFFFFFFFFu;
// Children pushed while walking stay below this (the build bounds the depth).
inline constexpr uint32_t kBvhStackEntries = 512;

struct alignas(32) SBvhNode
{
    // Child boxes: lower[axis][child], upper[axis][child]; unused children have an empty box
    // (lower +inf, upper -inf), which no ray enters.
    float lower[3][kBvhWidth];
    float upper[3][kBvhWidth];
    uint32_t child[kBvhWidth];
};

// What the walk reads: node 0 is the root (no nodes: no balls). Ball slots are padded to a
// multiple of eight so that a leaf can always be read eight slots wide.
struct SBvhView
{
    const SBvhNode* nodes;
    uint32_t nodeCount;
    const float* x;
    const float* y;
    const float* z;
    const float* radius;
    const uint32_t* ball;
};

// Eight rays, one per lane, stored axis by axis.
struct alignas(32) SRayPacket
{
    float ox[kBvhWidth], oy[kBvhWidth], oz[kBvhWidth];
    float dx[kBvhWidth], dy[kBvhWidth], dz[kBvhWidth];
};

class CBallBvh
{
public:
    // Builds over the balls among spheres[0..count) whose box touches [minBB, maxBB]^3.
    void Build(const SVec4* spheres, uint32_t count, float minBB, float maxBB);
    SBvhView View() const;

private:
    struct SBox
    {
        float lower[3];
        float upper[3];
    };
    struct SItem
    {
        SBox box;
        float centre[3];
        float radius;
        uint32_t ball;
    };
    struct SRange
    {
        uint32_t begin;
        uint32_t end;
        SBox box;
    };

    uint32_t BuildNode(const SRange& range, uint32_t depth);
    uint32_t Split(const SRange& range, uint32_t depth);
    uint32_t AddLeaf(const SRange& range);
    SBox BoundsOf(uint32_t begin, uint32_t end) const;

    std::vector<SItem> m_Items;
    std::vector<SBvhNode> m_Nodes;
    std::vector<float> m_X, m_Y, m_Z, m_Radius;
    std::vector<uint32_t> m_Ball;
};
}
