// The zoom bank's table cache, loaded as the zoom phase loads it.
#include "FuzzFolder.h"
#include "kelvo/render/ZoomBankCache.h"
#include "kelvo/render/ZoomBankTable.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    WriteFuzzInput(CZoomBankCache::kFileName, data, size);
    const CZoomBankCache cache(FuzzFolder().string(), "");
    std::vector<uint32_t> table(kZoomTableEntries, 0);
    cache.Load(table);
    if (table.size() != kZoomTableEntries)
        __builtin_trap();
    return 0;
}
