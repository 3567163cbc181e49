// The device behind the ball tracer's host side: its memory (sphere-and-material buffer, tree
// memory), its constant block, the output and floor textures, and the three kernels (two tree
// levels, trace). CGeomTracer drives it from the render thread only, in the order Initialize,
// then per frame ResetFrame/MapOutput, BuildTree, TraceFrame, UnmapOutput. Implemented by the
// CPU backend (worker threads) and the CUDA backend. Every operation returns 0 on success or a
// backend error code, which the host prints with "%i".
#pragma once

#include "quellbeam/RayTracer.h"
#include "quellbeam/kernel/KernelConstants.h"
#include "quellbeam/kernel/SceneView.h"

#include <cstdint>

namespace quellbeam
{
// Error codes of the CPU backend (the CUDA backend returns the runtime's codes).
enum : int
{
    kBackendOk = 0,
    kBackendInvalidValue = 1,
    kBackendOutOfMemory = 2,
    kBackendNotMapped = 3,
    kBackendTreeMemoryFull = 4,
};

// Sizes of the device buffers.
inline constexpr uint32_t kSceneBufferBytes = 5120000;
// The part of the scene buffer the kernels read: spheres then materials must fit here.
inline constexpr uint32_t kSceneWindowBytes = 320000;
inline constexpr uint32_t kSceneElementBytes = 16;

class ITracerBackend
{
public:
    virtual ~ITracerBackend() = default;

    // "CPU" or "CUDA", for the log.
    virtual const char* GetName() const = 0;
    // True for a backend that traces on the host's processors.
    virtual bool RunsOnHost() const { return false; }
    // What an error code of this backend means, for the log.
    virtual const char* DescribeError(int error) const = 0;
    // One-time set-up: allocates the scene buffer and tree memory.
    virtual int Initialize() = 0;
    // Device address of the scene buffer, for the log.
    virtual uint64_t GetSceneBufferAddress() const = 0;
    // Makes a texture of the program usable by the device (interop registration).
    virtual int RegisterTexture(ITracerTexture* texture) = 0;
    // Copies bytes into the scene buffer at a byte offset.
    virtual int WriteSceneData(uint32_t byteOffset, const void* data, uint32_t bytes) = 0;
    // Copies a byte range of the host's constant block into the device's.
    virtual int WriteConstants(const SKernelConstants& constants, uint32_t byteOffset, uint32_t bytes) = 0;
    // Makes a registered floor texture current (null: none) and keeps it mapped while current.
    virtual int BindFloorTexture(ITracerTexture* texture) = 0;
    // Per frame: resets the trace work counter and the tree allocator.
    virtual int ResetFrame() = 0;
    virtual int MapOutput(ITracerTexture* output) = 0;
    virtual int UnmapOutput() = 0;
    // Rebuilds the tree over the first `count` spheres and copies its descriptor (1553 words)
    // to descriptorCopy.
    virtual int BuildTree(uint32_t count, uint32_t* descriptorCopy) = 0;
    // Traces width x height pixels into the mapped output.
    virtual int TraceFrame(uint32_t count, uint32_t width, uint32_t height) = 0;
    // Rays traced by the last TraceFrame.
    virtual SRayCounts GetRayCounts() const = 0;
};
}
