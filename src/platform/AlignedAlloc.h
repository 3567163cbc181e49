// Aligned heap blocks; free them with AlignedFree only.
#pragma once

#include <cstddef>

namespace platform
{
// Null when the block cannot be had; alignment must be a power of two.
void* AlignedAlloc(std::size_t size, std::size_t alignment);
void AlignedFree(void* block);
}
