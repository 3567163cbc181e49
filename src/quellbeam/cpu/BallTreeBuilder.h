// Builds the two-level ball grid on the host, with the device's layout and chunk protocol:
// first level per block of 128-ball runs (eight block regions, refills from the shared base),
// then one node per occupied top cell with a list per sub-cell. The device builds the same
// lists in parallel; only the order inside a list may differ.
#pragma once

#include "quellbeam/kernel/TreeMemory.h"

#include <vector>

namespace quellbeam
{
class CBallTreeBuilder
{
public:
    // Lists `count` spheres in the cube [minBB, maxBB]^3 into tree memory (windowWords words)
    // and writes the descriptor. False when tree memory ran out: some lists then miss balls,
    // but every list and chain stays terminated and inside the window.
    bool Build(const SVec4* spheres, uint32_t count, float minBB, float maxBB, uint32_t* descriptor,
               uint32_t* memory, uint32_t windowWords);

private:
    bool BuildFirstLevel(const SVec4* spheres, uint32_t count, float minBB, const SGridScale& scale,
                         uint32_t* memory);
    bool BuildNode(const SVec4* spheres, uint32_t cell, float minBB, const SGridScale& scale,
                   uint32_t* descriptor, uint32_t* memory);
    bool IsTopCellEmpty(uint32_t cell, const uint32_t* memory) const;

    uint32_t m_WindowWords = 0;
    uint32_t m_FreeBase = 0;
    // First level: a word range and a write cursor per cell for each block.
    SWordRange m_BlockRanges[kFirstLevelBlocks] = {};
    std::vector<uint32_t> m_CellCursors = std::vector<uint32_t>(kFirstLevelBlocks * kTopCells);
    // Second level: the writer's range and a cursor per sub-cell of the node being built.
    SWordRange m_NodeRange = {};
    uint32_t m_SubCursors[kSubCells] = {};
};
}
