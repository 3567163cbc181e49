#include "quellbeam/cpu/BallTreeBuilder.h"

namespace quellbeam
{
bool CBallTreeBuilder::Build(const SVec4* spheres, uint32_t count, float minBB, float maxBB,
                             uint32_t* descriptor, uint32_t* memory, uint32_t windowWords)
{
    m_WindowWords = windowWords;
    m_FreeBase = kFreeMemoryStart;
    if (windowWords < kFreeMemoryStart)
        return false;
    const SGridScale scale = MakeGridScale(minBB, maxBB);

    descriptor[kTreeCountWord] = count;
    for (uint32_t cell = 0; cell < kTopCells; ++cell)
        descriptor[kTreeNodeWords + cell] = kListEnd;
    for (uint32_t word = kTreeTopMaskWords; word < kTreeDescriptorWords; ++word)
        descriptor[word] = 0;

    bool complete = BuildFirstLevel(spheres, count, minBB, scale, memory);
    // The second level continues in what block 0 left of its region.
    m_NodeRange = m_BlockRanges[0];
    for (uint32_t cell = 0; cell < kTopCells; ++cell)
        if (!IsTopCellEmpty(cell, memory))
            complete = BuildNode(spheres, cell, minBB, scale, descriptor, memory) && complete;
    return complete;
}

bool CBallTreeBuilder::BuildFirstLevel(const SVec4* spheres, uint32_t count, float minBB,
                                       const SGridScale& scale, uint32_t* memory)
{
    for (uint32_t block = 0; block < kFirstLevelBlocks; ++block)
    {
        const uint32_t regionStart = block * kBlockRegionWords;
        m_BlockRanges[block] = SWordRange{regionStart + kInitialChunkWords, regionStart + kBlockRegionWords};
        for (uint32_t cell = 0; cell < kTopCells; ++cell)
            m_CellCursors[block * kTopCells + cell] = InitialChunk(block, cell);
    }

    bool complete = true;
    const SVec3 origin = Vec3(minBB, minBB, minBB);
    const int last = static_cast<int>(kTopCellsPerAxis) - 1;
    for (uint32_t ball = 0; ball < count; ++ball)
    {
        SCellRange range;
        if (!BallCellRange(spheres[ball], origin, scale.cellsPerUnit, last, range))
            continue;
        const uint32_t block = FirstLevelBlockOfBall(ball);
        for (int z = range.lo[2]; z <= range.hi[2]; ++z)
            for (int y = range.lo[1]; y <= range.hi[1]; ++y)
                for (int x = range.lo[0]; x <= range.hi[0]; ++x)
                {
                    uint32_t& cursor = m_CellCursors[block * kTopCells + TopCellIndex(x, y, z)];
                    complete =
                        AppendToList(memory, cursor, ball, m_BlockRanges[block], m_FreeBase, m_WindowWords) &&
                        complete;
                }
    }
    for (uint32_t cursor : m_CellCursors)
        TerminateList(memory, cursor);
    return complete;
}

bool CBallTreeBuilder::IsTopCellEmpty(uint32_t cell, const uint32_t* memory) const
{
    for (uint32_t block = 0; block < kFirstLevelBlocks; ++block)
        if (memory[InitialChunk(block, cell)] != kListEnd)
            return false;
    return true;
}

bool CBallTreeBuilder::BuildNode(const SVec4* spheres, uint32_t cell, float minBB, const SGridScale& scale,
                                 uint32_t* descriptor, uint32_t* memory)
{
    const uint32_t node = TakeWords(m_NodeRange, kNodeWords, m_FreeBase, m_WindowWords);
    if (node == kListEnd)
        return false;
    for (uint32_t subCell = 0; subCell < kSubCells; ++subCell)
        m_SubCursors[subCell] = SubCellListStart(node, subCell);

    const SVec3 corner = TopCellCorner(cell, minBB, scale.topEdge);
    const int last = static_cast<int>(kSubCellsPerAxis) - 1;
    bool complete = true;

    // The cell's balls come from the eight first-level chains, block by block.
    for (uint32_t block = 0; block < kFirstLevelBlocks; ++block)
        for (uint32_t chunk = InitialChunk(block, cell); chunk != kListEnd;
             chunk = memory[chunk + kChunkLinkSlot])
        {
            uint32_t slot = 0;
            for (; slot < kChunkLinkSlot && memory[chunk + slot] != kListEnd; ++slot)
            {
                const uint32_t ball = memory[chunk + slot];
                SCellRange range;
                if (!BallCellRange(spheres[ball], corner, scale.subCellsPerUnit, last, range))
                    continue;
                for (int z = range.lo[2]; z <= range.hi[2]; ++z)
                    for (int y = range.lo[1]; y <= range.hi[1]; ++y)
                        for (int x = range.lo[0]; x <= range.hi[0]; ++x)
                            complete = AppendToList(memory, m_SubCursors[SubCellIndex(x, y, z)], ball,
                                                    m_NodeRange, m_FreeBase, m_WindowWords) &&
                                       complete;
            }
            if (slot < kChunkLinkSlot)
                break;
        }

    // Terminate the lists and record which sub-cells received balls.
    uint32_t masks[2] = {0, 0};
    for (uint32_t subCell = 0; subCell < kSubCells; ++subCell)
    {
        if (m_SubCursors[subCell] != SubCellListStart(node, subCell))
            masks[subCell >> 5] |= 1u << (subCell & 31);
        TerminateList(memory, m_SubCursors[subCell]);
    }
    if (masks[0] == 0 && masks[1] == 0)
        return complete;
    memory[node] = masks[0];
    memory[node + 1] = masks[1];
    for (uint32_t word = 2; word < kNodeHeaderMaskWords; ++word)
        memory[node + word] = 0;
    descriptor[kTreeTopMaskWords + (cell >> 5)] |= 1u << (cell & 31);
    descriptor[kTreeNodeWords + cell] = node;
    descriptor[kTreeSubMaskWords + 2 * cell] = masks[0];
    descriptor[kTreeSubMaskWords + 2 * cell + 1] = masks[1];
    return complete;
}
}
