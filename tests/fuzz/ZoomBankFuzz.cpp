// The zoom bank's table cache, loaded as the zoom phase loads it.
#include "FuzzFolder.h"
#include "kelvo/render/ZoomBankCache.h"
#include "kelvo/render/ZoomBankTable.h"

#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const CFuzzFolder s_Folder;
    s_Folder.Write(CZoomBankCache::kFileName, data, size);
    const CZoomBankCache cache(s_Folder.GetPath().string(), "");
    std::vector<uint32_t> table(kZoomTableEntries, 0);
    cache.Load(table);
    if (table.size() != kZoomTableEntries)
        __builtin_trap();
    return 0;
}
