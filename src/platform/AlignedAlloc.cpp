#include "platform/AlignedAlloc.h"

#include <cstdlib>

namespace platform
{
void* AlignedAlloc(std::size_t size, std::size_t alignment)
{
    if (alignment < sizeof(void*))
        alignment = sizeof(void*);
    void* block = nullptr;
    if (posix_memalign(&block, alignment, size == 0 ? 1 : size) != 0)
        return nullptr;
    return block;
}

void AlignedFree(void* block)
{
    std::free(block);
}
}
