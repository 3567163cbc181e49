// The CUDA backend's device side as plain C++ calls: the constant block, the tree kernels and
// the persistent trace kernel. Everything runs on the current device's default stream; each
// call returns a CUDA runtime error code (0 on success).
#pragma once

#include "quellbeam/kernel/KernelConstants.h"
#include "quellbeam/kernel/SceneView.h"

namespace quellbeam::cuda
{
// Copies bytes [offset, offset + bytes) of the host's constant block into the device's.
int WriteKernelConstants(const SKernelConstants& constants, uint32_t offset, uint32_t bytes);

// 0 when the library carries device code that runs on the current device.
int CheckDeviceCode();

// Blocks of the trace kernel resident at once on the device: multiprocessors x blocks per
// multiprocessor.
int GetResidentTraceBlocks(int device, uint32_t& blocks);

// Rebuilds the two-level grid over `count` spheres into tree memory (kTreeWindowWords words),
// copies the descriptor to the trace kernel's constant copy and to descriptorCopy. full: tree
// memory ran out, so some lists miss balls (every list still ends inside the window).
int BuildTree(const SVec4* spheres, uint32_t count, uint32_t* memory, uint32_t* descriptorCopy, bool& full);

// Where the trace kernel writes: a surface (a mapped GL texture) when surface is nonzero,
// else rows of `pitch` four-float elements at linear. Pixels from width and height on are
// not written.
struct STraceTarget
{
    SVec4* linear;
    uint32_t pitch;
    uint64_t surface;
    uint32_t width;
    uint32_t height;
};

// Traces one frame with the descriptor of the last BuildTree; scene.tree is not read (the
// kernel reads the constant copy). Returns when the frame is complete.
int TraceFrame(const SSceneView& scene, const STraceTarget& target, uint32_t blocks, float inverseWidth,
               float inverseHeight, SRayCounts& counts);
}
