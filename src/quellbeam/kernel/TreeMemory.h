// Writing ball lists into tree memory: the chunk protocol and the region allocator. A writer
// owns a range of free words from which it takes whole chunks; an exhausted range is refilled
// with a region of 65536 words from the shared base. Nothing is written outside the window.
#pragma once

#include "quellbeam/kernel/TreeLayout.h"

namespace quellbeam
{
// Free words [next, end) owned by one writer.
struct SWordRange
{
    uint32_t next;
    uint32_t end;
};

// Claims a 65536-word region from the shared base. The base is only read and written here, by
// one writer at a time on the host; the device version replaces this with an atomic add.
QB_INLINE bool ClaimRegion(uint32_t& freeBase, uint32_t windowWords, SWordRange& range)
{
    if (freeBase > windowWords || windowWords - freeBase < kRefillWords)
        return false;
    range.next = freeBase;
    range.end = freeBase + kRefillWords;
    freeBase += kRefillWords;
    return true;
}

// Takes `words` words from the range, refilling it when too few remain; kListEnd on failure.
QB_INLINE uint32_t TakeWords(SWordRange& range, uint32_t words, uint32_t& freeBase, uint32_t windowWords)
{
    if (range.end - range.next < words && !ClaimRegion(freeBase, windowWords, range))
        return kListEnd;
    const uint32_t start = range.next;
    range.next += words;
    return start;
}

// Appends a ball at a list's write cursor. Slot 31 of a chunk is the link: reaching it opens a
// new chunk and links it. False (nothing written) when the window is exhausted.
QB_INLINE bool AppendToList(uint32_t* memory, uint32_t& cursor, uint32_t ball, SWordRange& range,
                            uint32_t& freeBase, uint32_t windowWords)
{
    if (cursor % kChunkWords == kChunkLinkSlot)
    {
        const uint32_t chunk = TakeWords(range, kChunkWords, freeBase, windowWords);
        if (chunk == kListEnd)
            return false;
        memory[cursor] = chunk;
        cursor = chunk;
    }
    memory[cursor++] = ball;
    return true;
}

// Ends the list at its cursor: unused slots of the last chunk and its link become 0xFFFFFFFF.
QB_INLINE void TerminateList(uint32_t* memory, uint32_t cursor)
{
    const uint32_t chunkEnd = cursor - cursor % kChunkWords + kChunkWords;
    for (uint32_t word = cursor; word < chunkEnd; ++word)
        memory[word] = kListEnd;
}
}
