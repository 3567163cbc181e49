// The backend on an NVIDIA GPU: the scene buffer, tree memory, floor texels and constant block
// live on the device, the tree kernels rebuild the grid each frame and the persistent trace
// kernel shades every pixel with the shared kernel code. The picture reaches the program's
// output texture in place through CUDA-OpenGL interop when the GL context runs on this device,
// else through a copy into the texture's host copy (Lock/Unlock). Errors are CUDA runtime codes.
// Every call comes from one thread at a time (the render thread).
#pragma once

#include "quellbeam/host/TracerBackend.h"
#include "quellbeam/kernel/TreeLayout.h"

#include <map>
#include <memory>
#include <vector>

struct cudaGraphicsResource;

namespace quellbeam
{
class CCudaBackend final : public ITracerBackend
{
public:
    // The backend on the device of the current GL context, else on device 0; null, after one
    // log line saying why, when the runtime finds no device it can use.
    static std::unique_ptr<CCudaBackend> Create();

    CCudaBackend(int device, bool glInterop);
    ~CCudaBackend() override;
    CCudaBackend(const CCudaBackend&) = delete;
    CCudaBackend& operator=(const CCudaBackend&) = delete;

    const char* GetName() const override { return "CUDA"; }
    const char* DescribeError(int error) const override;
    int Initialize() override;
    uint64_t GetSceneBufferAddress() const override;
    int RegisterTexture(ITracerTexture* texture) override;
    int WriteSceneData(uint32_t byteOffset, const void* data, uint32_t bytes) override;
    int WriteConstants(const SKernelConstants& constants, uint32_t byteOffset, uint32_t bytes) override;
    int BindFloorTexture(ITracerTexture* texture) override;
    int ResetFrame() override;
    int MapOutput(ITracerTexture* output) override;
    int UnmapOutput() override;
    int BuildTree(uint32_t count, uint32_t* descriptorCopy) override;
    int TraceFrame(uint32_t count, uint32_t width, uint32_t height) override;
    SRayCounts GetRayCounts() const override { return m_RayCounts; }

    // Whether the output texture is written in place (interop) rather than through its host copy.
    bool WritesInPlace(ITracerTexture* texture) const { return m_Resources.count(texture) != 0; }
    // The device's tree memory after the last BuildTree and the first `elements` elements of
    // the scene buffer, for comparison with the CPU backend.
    int ReadTreeMemory(std::vector<uint32_t>& words) const;
    int ReadSceneData(std::vector<SVec4>& elements, uint32_t count) const;

private:
    int SelectDevice() const;
    int MapInPlace(cudaGraphicsResource* resource);
    int MapThroughHost(ITracerTexture* output);

    int m_Device;
    bool m_GlInterop;
    bool m_Initialized = false;
    uint32_t m_TraceBlocks = 0;
    SVec4* m_SceneData = nullptr;
    uint32_t* m_TreeMemory = nullptr;
    uint32_t m_Descriptor[kTreeDescriptorWords] = {};
    uint32_t* m_FloorTexels = nullptr; // device copy of the current floor texture, null when none
    size_t m_FloorCapacity = 0;        // texels allocated at m_FloorBuffer
    uint32_t* m_FloorBuffer = nullptr;
    uint32_t m_FloorWidth = 0;
    uint32_t m_FloorHeight = 0;
    std::map<ITracerTexture*, cudaGraphicsResource*> m_Resources;

    // The mapped output: a surface over the GL texture, or the device image copied to the
    // texture's host copy on unmap.
    ITracerTexture* m_Output = nullptr;
    cudaGraphicsResource* m_MappedResource = nullptr;
    uint64_t m_Surface = 0;
    SVec4* m_DeviceImage = nullptr;
    size_t m_DeviceImageCapacity = 0; // texels
    void* m_HostImage = nullptr;
    uint32_t m_HostPitch = 0;
    uint32_t m_OutputWidth = 0;
    uint32_t m_OutputHeight = 0;
    SRayCounts m_RayCounts = {};
};
}
