// Device code of the CUDA backend. The tree kernels write the same lists as CBallTreeBuilder
// with many threads per block: each thread appends its ball to shared-memory list cursors, and
// new chunks are handed out in rounds between barriers. The trace kernel is persistent: its
// blocks pull 128 x 8 pixel units from a counter and run the shared shading code per pixel.
#include "quellbeam/cuda/TracerKernels.h"

#include "quellbeam/kernel/Shading.h"
#include "quellbeam/kernel/TreeMemory.h"

#include <cuda_runtime.h>

namespace quellbeam::cuda
{
namespace
{
constexpr uint32_t kTreeThreads = 128;
constexpr uint32_t kSecondLevelBlocks = 96;
constexpr uint32_t kWarpThreads = 32;
// A list's fill count at or above this means tree memory ran out: further balls are left out.
constexpr uint32_t kListFull = 0x40000000u;
constexpr uint32_t kUnitWidth = 128;
constexpr uint32_t kTileWidth = 16;
constexpr uint32_t kTilesPerUnit = kUnitWidth / kTileWidth;
}

__constant__ SKernelConstants c_Constants;
__constant__ uint32_t c_Tree[kTreeDescriptorWords];

// Written by the tree kernels, then copied to c_Tree.
__device__ uint32_t d_Tree[kTreeDescriptorWords];
// What each first-level block left of its region, for the second level.
__device__ SWordRange d_BlockMemDesc[kFirstLevelBlocks];
__device__ uint32_t d_NextNode;
__device__ uint32_t g_FreeMemoryBase;
__device__ uint32_t d_TreeFull;
__device__ uint32_t g_NextUnit;
__device__ unsigned long long g_RayCounts[3];

// A tree kernel block's share of the chunk protocol: its free words and this round's requests.
struct SBlockAllocator
{
    SWordRange range;
    uint32_t requests;
    uint32_t base; // the first chunk handed out this round, kListEnd when none could be
};

// Claims a region of 65536 words from the shared base; false when the window is used up. The
// base is read first, so it stops growing once the window is exhausted.
__device__ bool ClaimRegionShared(SWordRange& range)
{
    const uint32_t last = kTreeWindowWords - kRefillWords;
    if (*(volatile uint32_t*)&g_FreeMemoryBase <= last)
    {
        const uint32_t start = atomicAdd(&g_FreeMemoryBase, kRefillWords);
        if (start <= last)
        {
            range.next = start;
            range.end = start + kRefillWords;
            return true;
        }
    }
    d_TreeFull = 1;
    return false;
}

// Takes `words` words from the block's range, refilling it when too few remain.
__device__ uint32_t TakeWordsShared(SWordRange& range, uint32_t words)
{
    if (range.end - range.next < words && !ClaimRegionShared(range))
        return kListEnd;
    const uint32_t start = range.next;
    range.next += words;
    return start;
}

// One round of appends to the lists whose current chunk and fill count live in shared
// memory; every thread of the block calls it. A thread with a pending append draws the next
// slot of its list: slots 0..30 take the ball; slot 31 is the link, so its thread opens the
// list's next chunk and retries; later slots retry next round. True when the append is done.
__device__ bool AppendRound(bool pending, uint32_t list, uint32_t ball, uint32_t* chunks, uint32_t* counts,
                            SBlockAllocator& allocator, uint32_t* memory)
{
    bool done = !pending;
    bool opens = false;
    uint32_t order = 0;
    if (pending)
    {
        const uint32_t slot = atomicAdd(&counts[list], 1u);
        if (slot < kChunkLinkSlot)
        {
            memory[chunks[list] + slot] = ball;
            done = true;
        }
        else if (slot == kChunkLinkSlot)
        {
            opens = true;
            order = atomicAdd(&allocator.requests, 1u);
        }
        else if (slot >= kListFull)
        {
            done = true;
        }
    }
    __syncthreads();
    if (threadIdx.x == 0 && allocator.requests != 0)
    {
        allocator.base = TakeWordsShared(allocator.range, allocator.requests * kChunkWords);
        allocator.requests = 0;
    }
    __syncthreads();
    if (opens)
    {
        if (allocator.base != kListEnd)
        {
            const uint32_t chunk = allocator.base + order * kChunkWords;
            memory[chunks[list] + kChunkLinkSlot] = chunk;
            chunks[list] = chunk;
            counts[list] = 0;
        }
        else
        {
            counts[list] = kListFull;
        }
    }
    __syncthreads();
    return done;
}

// Appends the ball to every cell of its range (cell index x + (y << shift) + (z << 2 shift)),
// one cell per round; threads without a ball take part in the rounds.
__device__ void AppendToCells(bool inside, const SCellRange& range, uint32_t shift, uint32_t ball,
                              uint32_t* chunks, uint32_t* counts, SBlockAllocator& allocator,
                              uint32_t* memory)
{
    int x = range.lo[0], y = range.lo[1], z = range.lo[2];
    bool active = inside;
    while (__syncthreads_or(active))
    {
        const uint32_t list = (uint32_t)x + ((uint32_t)y << shift) + ((uint32_t)z << (2 * shift));
        if (AppendRound(active, list, ball, chunks, counts, allocator, memory) && active)
        {
            if (++x > range.hi[0])
            {
                x = range.lo[0];
                if (++y > range.hi[1])
                {
                    y = range.lo[1];
                    active = ++z <= range.hi[2];
                }
            }
        }
    }
}

__device__ void TerminateShared(uint32_t* memory, uint32_t chunk, uint32_t count)
{
    TerminateList(memory, chunk + (count < kChunkLinkSlot ? count : kChunkLinkSlot));
}

__global__ void ResetTreeKernel()
{
    g_FreeMemoryBase = kFreeMemoryStart;
    d_TreeFull = 0;
    d_NextNode = 0;
}

// First level: block b lists the balls of the runs of 128 it takes (balls 128 b .. + 127,
// then every 1024th run) in its own chain per top cell.
__global__ void __launch_bounds__(kTreeThreads)
    FirstLevelKernel(const SVec4* spheres, uint32_t count, uint32_t* memory)
{
    __shared__ uint32_t s_Chunks[kTopCells];
    __shared__ uint32_t s_Counts[kTopCells];
    __shared__ SBlockAllocator s_Allocator;
    const uint32_t block = blockIdx.x;
    const uint32_t thread = threadIdx.x;
    for (uint32_t cell = thread; cell < kTopCells; cell += kTreeThreads)
    {
        s_Chunks[cell] = InitialChunk(block, cell);
        s_Counts[cell] = 0;
    }
    if (thread == 0)
    {
        const uint32_t regionStart = block * kBlockRegionWords;
        s_Allocator.range = SWordRange{regionStart + kInitialChunkWords, regionStart + kBlockRegionWords};
        s_Allocator.requests = 0;
    }
    __syncthreads();

    const float minBB = c_Constants.minBB;
    const SGridScale scale = MakeGridScale(minBB, c_Constants.maxBB);
    const SVec3 origin = Vec3(minBB, minBB, minBB);
    const uint32_t stride = kFirstLevelBlocks * kBallsPerBlockRun;
    const uint32_t end = (count + kBallsPerBlockRun - 1) / kBallsPerBlockRun * kBallsPerBlockRun;
    for (uint32_t ball = block * kBallsPerBlockRun + thread; ball < end; ball += stride)
    {
        SCellRange range = {};
        const bool inside = ball < count && BallCellRange(spheres[ball], origin, scale.cellsPerUnit,
                                                          (int)kTopCellsPerAxis - 1, range);
        AppendToCells(inside, range, 3, ball, s_Chunks, s_Counts, s_Allocator, memory);
    }
    __syncthreads();

    for (uint32_t cell = thread; cell < kTopCells; cell += kTreeThreads)
        TerminateShared(memory, s_Chunks[cell], s_Counts[cell]);
    if (thread == 0)
        d_BlockMemDesc[block] = s_Allocator.range;
    if (block == 0)
    {
        for (uint32_t word = thread; word < kTreeDescriptorWords; word += kTreeThreads)
            d_Tree[word] = word == kTreeCountWord ? count : (word < kTreeTopMaskWords ? kListEnd : 0u);
    }
}

// Second level: blocks take occupied top cells from a counter, reserve a node for each and list
// the cell's balls (read from the eight first-level chains, a chunk per warp at a time) in the
// sub-cells they touch.
__global__ void __launch_bounds__(kTreeThreads) SecondLevelKernel(const SVec4* spheres, uint32_t* memory)
{
    __shared__ uint32_t s_Chunks[kSubCells];
    __shared__ uint32_t s_Counts[kSubCells];
    __shared__ SBlockAllocator s_Allocator;
    __shared__ uint32_t s_Cell;
    __shared__ uint32_t s_Node;
    __shared__ uint32_t s_Masks[2];
    const uint32_t block = blockIdx.x;
    const uint32_t thread = threadIdx.x;
    const uint32_t warp = thread / kWarpThreads;
    const uint32_t lane = thread % kWarpThreads;
    if (thread == 0)
    {
        // The first-level blocks' leftovers are used first; other blocks claim regions as needed.
        s_Allocator.range = block < kFirstLevelBlocks ? d_BlockMemDesc[block] : SWordRange{0, 0};
        s_Allocator.requests = 0;
    }
    const float minBB = c_Constants.minBB;
    const SGridScale scale = MakeGridScale(minBB, c_Constants.maxBB);

    for (;;)
    {
        if (thread == 0)
            s_Cell = atomicAdd(&d_NextNode, 1u);
        __syncthreads();
        const uint32_t cell = s_Cell;
        if (cell >= kTopCells)
            break;
        const bool listed = thread < kFirstLevelBlocks && memory[InitialChunk(thread, cell)] != kListEnd;
        if (!__syncthreads_or(listed))
            continue;
        if (thread == 0)
        {
            s_Node = TakeWordsShared(s_Allocator.range, kNodeWords);
            s_Masks[0] = s_Masks[1] = 0;
        }
        __syncthreads();
        const uint32_t node = s_Node;
        if (node == kListEnd)
            continue;
        if (thread < kSubCells)
        {
            s_Chunks[thread] = SubCellListStart(node, thread);
            s_Counts[thread] = 0;
        }
        __syncthreads();

        const SVec3 corner = TopCellCorner(cell, minBB, scale.topEdge);
        // Warp w reads chains w and w + 4; lane k takes slot k of the warp's current chunk.
        uint32_t chain = warp;
        uint32_t chunk = InitialChunk(chain, cell);
        bool walking = true;
        while (__syncthreads_or(walking))
        {
            const uint32_t ball = walking && lane < kChunkLinkSlot ? memory[chunk + lane] : kListEnd;
            const uint32_t link = walking ? memory[chunk + kChunkLinkSlot] : kListEnd;
            const bool ended = __any_sync(0xFFFFFFFFu, lane < kChunkLinkSlot && ball == kListEnd);
            SCellRange range = {};
            const bool inside =
                ball != kListEnd &&
                BallCellRange(spheres[ball], corner, scale.subCellsPerUnit, (int)kSubCellsPerAxis - 1, range);
            AppendToCells(inside, range, 2, ball, s_Chunks, s_Counts, s_Allocator, memory);
            if (!walking)
                continue;
            if (!ended && link != kListEnd)
                chunk = link;
            else if (chain + 4 < kFirstLevelBlocks)
            {
                chain += 4;
                chunk = InitialChunk(chain, cell);
            }
            else
                walking = false;
        }

        if (thread < kSubCells)
        {
            if (s_Chunks[thread] != SubCellListStart(node, thread) || s_Counts[thread] != 0)
                atomicOr(&s_Masks[thread >> 5], 1u << (thread & 31));
            TerminateShared(memory, s_Chunks[thread], s_Counts[thread]);
        }
        __syncthreads();
        if (thread < kNodeHeaderMaskWords && (s_Masks[0] | s_Masks[1]) != 0)
            memory[node + thread] = thread < 2 ? s_Masks[thread] : 0u;
        if (thread == 0 && (s_Masks[0] | s_Masks[1]) != 0)
        {
            atomicOr(&d_Tree[kTreeTopMaskWords + (cell >> 5)], 1u << (cell & 31));
            d_Tree[kTreeNodeWords + cell] = node;
            d_Tree[kTreeSubMaskWords + 2 * cell] = s_Masks[0];
            d_Tree[kTreeSubMaskWords + 2 * cell + 1] = s_Masks[1];
        }
        __syncthreads();
    }
}

__global__ void ResetTraceKernel(uint32_t firstFreeUnit)
{
    g_NextUnit = firstFreeUnit;
    g_RayCounts[0] = g_RayCounts[1] = g_RayCounts[2] = 0;
}

// Persistent trace: block k starts with unit k and then takes the next unit from the counter
// until all are done. A unit is 128 x 8 pixels, traced as 8 tiles of 16 x 8; thread (tx, ty)
// of the 32 x 4 block takes column (tx & 7) + 8 (ty & 1) and row (tx >> 3) + 4 (ty >> 1) of
// a tile, so each warp covers an 8 x 4 patch.
__global__ void __launch_bounds__(128)
    TraceKernel(SSceneView scene, STraceTarget target, float inverseWidth, float inverseHeight)
{
    __shared__ uint32_t s_Unit;
    __shared__ unsigned long long s_Rays[3];
    const SKernelConstants& constants = c_Constants;
    scene.tree = c_Tree;
    const uint32_t blocksX = constants.blocksX;
    const uint32_t column = (threadIdx.x & 7) + 8 * (threadIdx.y & 1);
    const uint32_t row = (threadIdx.x >> 3) + 4 * ((threadIdx.y >> 1) & 1);
    const bool first = threadIdx.x == 0 && threadIdx.y == 0;
    if (first)
        s_Rays[0] = s_Rays[1] = s_Rays[2] = 0;
    const SVec3 origin = Xyz(constants.view[0]);
    SRayCounts counts = {0, 0, 0};

    for (uint32_t unit = blockIdx.x; blocksX != 0 && unit < constants.totalBlocks;)
    {
        const uint32_t y = 8 * (unit / blocksX) + row;
        const uint32_t x0 = kUnitWidth * (unit % blocksX) + column;
        for (uint32_t tile = 0; tile < kTilesPerUnit; ++tile)
        {
            const uint32_t x = x0 + tile * kTileWidth;
            if (x >= target.width || y >= target.height)
                continue;
            const SVec3 direction =
                CameraRayDirection(constants, (float)x, (float)y, inverseWidth, inverseHeight);
            const SVec4 c = TraceCameraRay(scene, constants, origin, direction, counts);
            const float4 colour = make_float4(c.x, c.y, c.z, c.w);
            if (target.surface != 0)
                surf2Dwrite(colour, (cudaSurfaceObject_t)target.surface, (int)(x * sizeof(float4)), (int)y);
            else
                reinterpret_cast<float4*>(target.linear)[y * target.pitch + x] = colour;
        }
        __syncthreads();
        if (first)
            s_Unit = atomicAdd(&g_NextUnit, 1u);
        __syncthreads();
        unit = s_Unit;
    }

    atomicAdd(&s_Rays[0], (unsigned long long)counts.primary);
    atomicAdd(&s_Rays[1], (unsigned long long)counts.shadow);
    atomicAdd(&s_Rays[2], (unsigned long long)counts.bounce);
    __syncthreads();
    if (first)
        for (int kind = 0; kind < 3; ++kind)
            atomicAdd(&g_RayCounts[kind], s_Rays[kind]);
}

int WriteKernelConstants(const SKernelConstants& constants, uint32_t offset, uint32_t bytes)
{
    return cudaMemcpyToSymbol(c_Constants, reinterpret_cast<const char*>(&constants) + offset, bytes, offset);
}

int CheckDeviceCode()
{
    cudaFuncAttributes attributes;
    return cudaFuncGetAttributes(&attributes, TraceKernel);
}

int GetResidentTraceBlocks(int device, uint32_t& blocks)
{
    int perMultiprocessor = 0;
    int multiprocessors = 0;
    cudaError_t error =
        cudaOccupancyMaxActiveBlocksPerMultiprocessor(&perMultiprocessor, TraceKernel, 128, 0);
    if (error == cudaSuccess)
        error = cudaDeviceGetAttribute(&multiprocessors, cudaDevAttrMultiProcessorCount, device);
    blocks = (uint32_t)(perMultiprocessor * multiprocessors);
    if (error == cudaSuccess && blocks == 0)
        error = cudaErrorInvalidConfiguration;
    return error;
}

int BuildTree(const SVec4* spheres, uint32_t count, uint32_t* memory, uint32_t* descriptorCopy, bool& full)
{
    full = false;
    ResetTreeKernel<<<1, 1>>>();
    FirstLevelKernel<<<kFirstLevelBlocks, kTreeThreads>>>(spheres, count, memory);
    SecondLevelKernel<<<kSecondLevelBlocks, kTreeThreads>>>(spheres, memory);
    cudaError_t error = cudaGetLastError();
    if (error != cudaSuccess)
        return error;
    void* descriptor = nullptr;
    if ((error = cudaGetSymbolAddress(&descriptor, d_Tree)) != cudaSuccess ||
        (error = cudaMemcpyToSymbolAsync(c_Tree, descriptor, sizeof(c_Tree), 0, cudaMemcpyDeviceToDevice)) !=
            cudaSuccess ||
        (error = cudaMemcpyFromSymbol(descriptorCopy, d_Tree, sizeof(d_Tree))) != cudaSuccess)
        return error;
    uint32_t fullWord = 0;
    error = cudaMemcpyFromSymbol(&fullWord, d_TreeFull, sizeof(fullWord));
    full = fullWord != 0;
    return error;
}

int TraceFrame(const SSceneView& scene, const STraceTarget& target, uint32_t blocks, float inverseWidth,
               float inverseHeight, SRayCounts& counts)
{
    ResetTraceKernel<<<1, 1>>>(blocks);
    TraceKernel<<<blocks, dim3(32, 4)>>>(scene, target, inverseWidth, inverseHeight);
    cudaError_t error = cudaGetLastError();
    if (error == cudaSuccess)
        error = cudaDeviceSynchronize();
    unsigned long long rays[3] = {0, 0, 0};
    if (error == cudaSuccess)
        error = cudaMemcpyFromSymbol(rays, g_RayCounts, sizeof(rays));
    counts = SRayCounts{rays[0], rays[1], rays[2]};
    return error;
}
}
