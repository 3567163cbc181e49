// Layout of the two-level ball grid: the descriptor, the chunked ball lists in tree memory and
// the cell geometry. The grid is a cube of 8 x 8 x 8 top cells, each split into 4 x 4 x 4
// sub-cells; every ball is listed in each cell its bounding box touches.
#pragma once

#include "quellbeam/kernel/Vec.h"

namespace quellbeam
{
// Descriptor words: ball count, node word per top cell, top occupancy, sub-cell occupancy.
inline constexpr uint32_t kTreeDescriptorWords = 1553;
inline constexpr uint32_t kTreeCountWord = 0;
inline constexpr uint32_t kTreeNodeWords = 1;      // + top cell
inline constexpr uint32_t kTreeTopMaskWords = 513; // + (cell >> 5)
inline constexpr uint32_t kTreeSubMaskWords = 529; // + 2 cell, + 2 cell + 1
inline constexpr uint32_t kTopCells = 512;
inline constexpr uint32_t kTopCellsPerAxis = 8;
inline constexpr uint32_t kSubCellsPerAxis = 4;
inline constexpr uint32_t kSubCells = 64;

// Ball lists: chunks of 32 words, 31 ball slots and a link word; 0xFFFFFFFF ends a list or chain.
inline constexpr uint32_t kListEnd = 0xFFFFFFFFu;
inline constexpr uint32_t kChunkWords = 32;
inline constexpr uint32_t kChunkLinkSlot = 31;
// The traversal reads at most this many chunks of one list.
inline constexpr uint32_t kMaxListChunks = 10;

// Tree memory: 8 first-level block regions (512 initial chunks, then spare chunks), then
// regions of 65536 words handed out from a shared base, all inside a 32 MiB window.
inline constexpr uint32_t kFirstLevelBlocks = 8;
inline constexpr uint32_t kBlockRegionWords = 81920;
inline constexpr uint32_t kInitialChunkWords = kTopCells * kChunkWords; // 16384
inline constexpr uint32_t kRefillWords = 65536;
inline constexpr uint32_t kFreeMemoryStart = kFirstLevelBlocks * kBlockRegionWords; // 655360
inline constexpr uint32_t kTreeWindowWords = 33554432u / 4u;
// A top cell's node: a header chunk, then the first chunk of each sub-cell's list.
inline constexpr uint32_t kNodeWords = (1 + kSubCells) * kChunkWords; // 2080
inline constexpr uint32_t kNodeHeaderMaskWords = 16;

// First-level balls are dealt to blocks in runs of 128, as the device's thread blocks take them.
inline constexpr uint32_t kBallsPerBlockRun = 128;

QB_INLINE uint32_t TopCellIndex(uint32_t x, uint32_t y, uint32_t z)
{
    return x + 8 * y + 64 * z;
}
QB_INLINE uint32_t SubCellIndex(uint32_t x, uint32_t y, uint32_t z)
{
    return x + 4 * y + 16 * z;
}
QB_INLINE uint32_t FirstLevelBlockOfBall(uint32_t ball)
{
    return (ball / kBallsPerBlockRun) % kFirstLevelBlocks;
}
QB_INLINE uint32_t InitialChunk(uint32_t block, uint32_t cell)
{
    return block * kBlockRegionWords + cell * kChunkWords;
}
QB_INLINE uint32_t SubCellListStart(uint32_t node, uint32_t subCell)
{
    return node + (subCell + 1) * kChunkWords;
}

QB_INLINE bool IsTopCellOccupied(const uint32_t* tree, uint32_t cell)
{
    return (tree[kTreeTopMaskWords + (cell >> 5)] >> (cell & 31)) & 1u;
}

QB_INLINE bool IsSubCellOccupied(const uint32_t* tree, uint32_t cell, uint32_t subCell)
{
    const uint32_t word = tree[kTreeSubMaskWords + 2 * cell + (subCell >> 5)];
    return (word >> (subCell & 31)) & 1u;
}

// Cell sizes of the grid over the cube [minBB, maxBB], computed the same way by both builders.
struct SGridScale
{
    float topEdge;
    float cellsPerUnit;    // top cells per unit
    float subCellsPerUnit; // sub-cells per unit
};

QB_INLINE SGridScale MakeGridScale(float minBB, float maxBB)
{
    const float extent = maxBB - minBB;
    SGridScale scale;
    scale.topEdge = extent / (float)kTopCellsPerAxis;
    scale.cellsPerUnit = (float)kTopCellsPerAxis / extent;
    scale.subCellsPerUnit = (float)kSubCellsPerAxis / scale.topEdge;
    return scale;
}

QB_INLINE SVec3 TopCellCorner(uint32_t cell, float minBB, float topEdge)
{
    return Vec3(MulAddUnfused((float)(cell & 7), topEdge, minBB),
                MulAddUnfused((float)((cell >> 3) & 7), topEdge, minBB),
                MulAddUnfused((float)((cell >> 6) & 7), topEdge, minBB));
}

QB_INLINE int ClampCell(int c, int last)
{
    return c < 0 ? 0 : (c > last ? last : c);
}

// Range of cells [lo, hi] per axis that the box of a ball covers, in a grid of cellsPerUnit
// cells per unit starting at origin, clamped to 0..last. False when the box misses the grid.
struct SCellRange
{
    int lo[3];
    int hi[3];
};

QB_INLINE bool BallCellRange(SVec4 ball, SVec3 origin, float cellsPerUnit, int last, SCellRange& range)
{
    const float centre[3] = {ball.x, ball.y, ball.z};
    const float corner[3] = {origin.x, origin.y, origin.z};
    for (int axis = 0; axis < 3; ++axis)
    {
        // Floor, not truncation: a box reaching just below the origin must not count as cell 0.
        const int lo = (int)floorf((centre[axis] - ball.w - corner[axis]) * cellsPerUnit);
        const int hi = (int)floorf((centre[axis] + ball.w - corner[axis]) * cellsPerUnit);
        if (hi < 0 || lo > last)
            return false;
        range.lo[axis] = ClampCell(lo, last);
        range.hi[axis] = ClampCell(hi, last);
    }
    return true;
}
}
