// Build check: the shared kernel headers compile as device code. Not linked anywhere.
#include "quellbeam/kernel/Shading.h"
#include "quellbeam/kernel/TreeMemory.h"

namespace quellbeam
{
__global__ void CheckTraceKernel(SSceneView scene, SKernelConstants constants, SVec4* output, uint32_t pitch)
{
    SRayCounts counts = {};
    const uint32_t x = blockIdx.x * blockDim.x + threadIdx.x;
    TraceRect(scene, constants, x, x + 1, blockIdx.y, blockIdx.y + 1, 1.0f / 1280.0f, 1.0f / 960.0f, output, pitch,
              counts);
}

__global__ void CheckListKernel(uint32_t* memory, uint32_t* freeBase, SVec4 ball)
{
    SWordRange range = {0, 0};
    uint32_t cursor = 0;
    SCellRange cells;
    if (BallCellRange(ball, Vec3(0.0f, 0.0f, 0.0f), 1.0f, 7, cells))
        AppendToList(memory, cursor, threadIdx.x, range, *freeBase, kTreeWindowWords);
    TerminateList(memory, cursor);
}
}
