#include "quellbeam/cuda/CudaBackend.h"

#include "platform/Log.h"
#include "quellbeam/cuda/GlInterop.h"
#include "quellbeam/cuda/TracerKernels.h"

#include <algorithm>
#include <cstring>

namespace quellbeam
{
namespace
{
// The oldest devices the library carries code for (sm_80; newer ones run sm_90 or its PTX).
constexpr int kMinimumComputeMajor = 8;
constexpr uint32_t kTexelBytes = sizeof(SVec4);

void FreeDevice(void* pointer)
{
    if (pointer != nullptr)
        cudaFree(pointer);
}

// Makes room for `texels` elements of `bytesPerTexel` at buffer (contents are not kept).
cudaError_t Reserve(void*& buffer, size_t& capacity, size_t texels, size_t bytesPerTexel)
{
    if (texels <= capacity)
        return cudaSuccess;
    FreeDevice(buffer);
    buffer = nullptr;
    capacity = 0;
    cudaError_t error = cudaMalloc(&buffer, texels * bytesPerTexel);
    if (error == cudaSuccess)
        error = cudaMemset(buffer, 0, texels * bytesPerTexel);
    if (error == cudaSuccess)
        capacity = texels;
    return error;
}
}

std::unique_ptr<CCudaBackend> CCudaBackend::Create()
{
    int count = 0;
    cudaError_t error = cudaGetDeviceCount(&count);
    if (error != cudaSuccess || count == 0)
    {
        DebugLog("[CCudaBackend::Create] no CUDA device (%i: %s): tracing on the CPU\n",
                 static_cast<int>(error),
                 error != cudaSuccess ? cudaGetErrorString(error) : "the runtime lists none");
        cudaGetLastError();
        return nullptr;
    }
    // The device that runs the current GL context can write the output texture in place.
    int device = 0;
    unsigned int glDeviceCount = 0;
    int glDevices[4] = {};
    const bool glInterop =
        cudaGLGetDevices(&glDeviceCount, glDevices, 4, cuda::kGlDeviceListAll) == cudaSuccess &&
        glDeviceCount > 0;
    if (glInterop)
        device = glDevices[0];
    cudaGetLastError();

    cudaDeviceProp properties = {};
    if ((error = cudaGetDeviceProperties(&properties, device)) != cudaSuccess)
    {
        DebugLog("[CCudaBackend::Create] device %i unusable (%i: %s): tracing on the CPU\n", device,
                 static_cast<int>(error), cudaGetErrorString(error));
        return nullptr;
    }
    if (properties.major < kMinimumComputeMajor)
    {
        DebugLog("[CCudaBackend::Create] device %i (%s) has compute capability %i.%i, below %i.0: tracing on "
                 "the CPU\n",
                 device, properties.name, properties.major, properties.minor, kMinimumComputeMajor);
        return nullptr;
    }
    if ((error = cudaSetDevice(device)) != cudaSuccess ||
        (error = static_cast<cudaError_t>(cuda::CheckDeviceCode())) != cudaSuccess)
    {
        DebugLog("[CCudaBackend::Create] device %i (%s) cannot run the tracer (%i: %s): tracing on the CPU\n",
                 device, properties.name, static_cast<int>(error), cudaGetErrorString(error));
        cudaGetLastError();
        return nullptr;
    }
    DebugLog("[CCudaBackend::Create] device %i (%s, compute capability %i.%i): the output is %s\n", device,
             properties.name, properties.major, properties.minor,
             glInterop ? "written in place" : "copied through the host");
    return std::make_unique<CCudaBackend>(device, glInterop);
}

CCudaBackend::CCudaBackend(int device, bool glInterop)
    : m_Device(device)
    , m_GlInterop(glInterop)
{
}

CCudaBackend::~CCudaBackend()
{
    // GL registrations end with the process: the program's textures and context may be gone.
    // At exit the runtime may already be unloading; the frees then fail harmlessly.
    SelectDevice();
    FreeDevice(m_SceneData);
    FreeDevice(m_TreeMemory);
    FreeDevice(m_FloorBuffer);
    FreeDevice(m_DeviceImage);
}

const char* CCudaBackend::DescribeError(int error) const
{
    return cudaGetErrorString(static_cast<cudaError_t>(error));
}

int CCudaBackend::SelectDevice() const
{
    return cudaSetDevice(m_Device);
}

int CCudaBackend::Initialize()
{
    cudaError_t error = static_cast<cudaError_t>(SelectDevice());
    if (error == cudaSuccess)
        error = cudaMalloc(reinterpret_cast<void**>(&m_SceneData), kSceneBufferBytes);
    if (error == cudaSuccess)
        error = cudaMalloc(reinterpret_cast<void**>(&m_TreeMemory), kTreeWindowWords * sizeof(uint32_t));
    if (error == cudaSuccess)
        error = cudaMemset(m_SceneData, 0, kSceneBufferBytes);
    if (error == cudaSuccess)
        error = cudaMemset(m_TreeMemory, 0, kTreeWindowWords * sizeof(uint32_t));
    if (error == cudaSuccess)
        error = static_cast<cudaError_t>(cuda::GetResidentTraceBlocks(m_Device, m_TraceBlocks));
    if (error != cudaSuccess)
    {
        cudaGetLastError();
        return error;
    }
    m_Initialized = true;
    return cudaSuccess;
}

uint64_t CCudaBackend::GetSceneBufferAddress() const
{
    return reinterpret_cast<uintptr_t>(m_SceneData);
}

int CCudaBackend::RegisterTexture(ITracerTexture* texture)
{
    if (texture == nullptr)
        return cudaErrorInvalidValue;
    // Only the traced picture is written by the device; floor pictures go through host copies.
    if (!m_GlInterop || texture->GetFormat() != kTracerTextureFloat4 || texture->GetGLName() == 0 ||
        m_Resources.count(texture) != 0)
        return cudaSuccess;
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    cudaGraphicsResource* resource = nullptr;
    const cudaError_t error = cudaGraphicsGLRegisterImage(&resource, texture->GetGLName(), cuda::kGlTexture2D,
                                                          cudaGraphicsRegisterFlagsSurfaceLoadStore);
    if (error != cudaSuccess)
    {
        // The texture still works, through its host copy.
        DebugLog("[CCudaBackend::RegisterTexture] cudaGraphicsGLRegisterImage error: %i: texture %u is "
                 "copied through "
                 "the host\n",
                 static_cast<int>(error), texture->GetGLName());
        cudaGetLastError();
        return cudaSuccess;
    }
    m_Resources[texture] = resource;
    return cudaSuccess;
}

int CCudaBackend::WriteSceneData(uint32_t byteOffset, const void* data, uint32_t bytes)
{
    if (!m_Initialized)
        return cudaErrorInitializationError;
    if (byteOffset > kSceneBufferBytes || bytes > kSceneBufferBytes - byteOffset)
        return cudaErrorInvalidValue;
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    return cudaMemcpy(reinterpret_cast<char*>(m_SceneData) + byteOffset, data, bytes, cudaMemcpyHostToDevice);
}

int CCudaBackend::WriteConstants(const SKernelConstants& constants, uint32_t byteOffset, uint32_t bytes)
{
    if (byteOffset > sizeof(SKernelConstants) || bytes > sizeof(SKernelConstants) - byteOffset)
        return cudaErrorInvalidValue;
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    return cuda::WriteKernelConstants(constants, byteOffset, bytes);
}

int CCudaBackend::BindFloorTexture(ITracerTexture* texture)
{
    m_FloorTexels = nullptr;
    m_FloorWidth = m_FloorHeight = 0;
    if (texture == nullptr)
        return cudaSuccess;
    const uint32_t width = texture->GetWidth();
    const uint32_t height = texture->GetHeight();
    if (!m_Initialized || texture->GetFormat() != kTracerTextureArgb8 || width == 0 || height == 0)
        return cudaErrorInvalidValue;
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    uint32_t pitch = 0;
    const void* texels = texture->Lock(&pitch);
    if (texels == nullptr)
        return cudaErrorMapBufferObjectFailed;
    cudaError_t error = pitch < width * 4 ? cudaErrorInvalidPitchValue : cudaSuccess;
    void* buffer = m_FloorBuffer;
    if (error == cudaSuccess)
        error = Reserve(buffer, m_FloorCapacity, static_cast<size_t>(width) * height, sizeof(uint32_t));
    m_FloorBuffer = static_cast<uint32_t*>(buffer);
    if (error == cudaSuccess)
        error =
            cudaMemcpy2D(m_FloorBuffer, width * 4, texels, pitch, width * 4, height, cudaMemcpyHostToDevice);
    texture->Unlock();
    if (error != cudaSuccess)
        return error;
    m_FloorTexels = m_FloorBuffer;
    m_FloorWidth = width;
    m_FloorHeight = height;
    return cudaSuccess;
}

int CCudaBackend::ResetFrame()
{
    // The work counter and the tree allocator are reset by the launches themselves.
    return m_Initialized ? cudaSuccess : cudaErrorInitializationError;
}

int CCudaBackend::MapOutput(ITracerTexture* output)
{
    if (output == nullptr || output->GetFormat() != kTracerTextureFloat4)
        return cudaErrorInvalidValue;
    if (!m_Initialized)
        return cudaErrorInitializationError;
    if (m_Output != nullptr)
        UnmapOutput();
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    m_OutputWidth = output->GetWidth();
    m_OutputHeight = output->GetHeight();
    const auto found = m_Resources.find(output);
    const int error = found != m_Resources.end() ? MapInPlace(found->second) : MapThroughHost(output);
    if (error == cudaSuccess)
        m_Output = output;
    return error;
}

int CCudaBackend::MapInPlace(cudaGraphicsResource* resource)
{
    cudaError_t error = cudaGraphicsMapResources(1, &resource, 0);
    if (error != cudaSuccess)
        return error;
    cudaArray_t array = nullptr;
    error = cudaGraphicsSubResourceGetMappedArray(&array, resource, 0, 0);
    if (error == cudaSuccess)
    {
        cudaResourceDesc description = {};
        description.resType = cudaResourceTypeArray;
        description.res.array.array = array;
        cudaSurfaceObject_t surface = 0;
        error = cudaCreateSurfaceObject(&surface, &description);
        m_Surface = surface;
    }
    if (error != cudaSuccess)
    {
        cudaGraphicsUnmapResources(1, &resource, 0);
        return error;
    }
    m_MappedResource = resource;
    return cudaSuccess;
}

int CCudaBackend::MapThroughHost(ITracerTexture* output)
{
    void* image = m_DeviceImage;
    const cudaError_t error = Reserve(image, m_DeviceImageCapacity,
                                      static_cast<size_t>(m_OutputWidth) * m_OutputHeight, kTexelBytes);
    m_DeviceImage = static_cast<SVec4*>(image);
    if (error != cudaSuccess)
        return error;
    uint32_t pitch = 0;
    void* texels = output->Lock(&pitch);
    if (texels == nullptr)
        return cudaErrorMapBufferObjectFailed;
    if (pitch % kTexelBytes != 0 || pitch / kTexelBytes < m_OutputWidth)
    {
        output->Unlock();
        return cudaErrorInvalidPitchValue;
    }
    m_HostImage = texels;
    m_HostPitch = pitch;
    return cudaSuccess;
}

int CCudaBackend::UnmapOutput()
{
    if (m_Output == nullptr)
        return cudaErrorNotMapped;
    SelectDevice();
    cudaError_t error = cudaSuccess;
    if (m_MappedResource != nullptr)
    {
        cudaDestroySurfaceObject(m_Surface);
        m_Surface = 0;
        error = cudaGraphicsUnmapResources(1, &m_MappedResource, 0);
        m_MappedResource = nullptr;
    }
    else
    {
        // The host copy receives the picture; Unlock hands it to the program.
        const size_t rowBytes = static_cast<size_t>(m_OutputWidth) * kTexelBytes;
        error = cudaMemcpy2D(m_HostImage, m_HostPitch, m_DeviceImage, rowBytes, rowBytes, m_OutputHeight,
                             cudaMemcpyDeviceToHost);
        m_Output->Unlock();
        m_HostImage = nullptr;
    }
    m_Output = nullptr;
    return error;
}

int CCudaBackend::BuildTree(uint32_t count, uint32_t* descriptorCopy)
{
    if (!m_Initialized)
        return cudaErrorInitializationError;
    if (static_cast<uint64_t>(count) * 3 * kSceneElementBytes > kSceneBufferBytes)
        return cudaErrorInvalidValue;
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    bool full = false;
    int error = cuda::BuildTree(m_SceneData, count, m_TreeMemory, m_Descriptor, full);
    std::memcpy(descriptorCopy, m_Descriptor, sizeof(m_Descriptor));
    // Tree memory ran out: the frame is traced with the lists that fit.
    if (error == cudaSuccess && full)
        error = cudaErrorMemoryAllocation;
    return error;
}

int CCudaBackend::TraceFrame(uint32_t count, uint32_t width, uint32_t height)
{
    if (!m_Initialized || m_Output == nullptr)
        return cudaErrorNotMapped;
    if (width == 0 || height == 0 || m_Descriptor[kTreeCountWord] != count)
        return cudaErrorInvalidValue;
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    // Pixels outside the mapped texture are never written.
    const cuda::STraceTarget target = {m_DeviceImage, m_OutputWidth, m_Surface,
                                       std::min(width, m_OutputWidth), std::min(height, m_OutputHeight)};
    const SSceneView scene = {m_SceneData,   count,        nullptr,      m_TreeMemory,
                              m_FloorTexels, m_FloorWidth, m_FloorHeight};
    return cuda::TraceFrame(scene, target, m_TraceBlocks, 1.0f / static_cast<float>(width),
                            1.0f / static_cast<float>(height), m_RayCounts);
}

int CCudaBackend::ReadTreeMemory(std::vector<uint32_t>& words) const
{
    words.assign(kTreeWindowWords, 0);
    if (!m_Initialized)
        return cudaErrorInitializationError;
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    return cudaMemcpy(words.data(), m_TreeMemory, kTreeWindowWords * sizeof(uint32_t),
                      cudaMemcpyDeviceToHost);
}

int CCudaBackend::ReadSceneData(std::vector<SVec4>& elements, uint32_t count) const
{
    elements.assign(count, SVec4{0, 0, 0, 0});
    if (!m_Initialized || static_cast<uint64_t>(count) * kSceneElementBytes > kSceneBufferBytes)
        return cudaErrorInvalidValue;
    if (int error = SelectDevice(); error != cudaSuccess)
        return error;
    return cudaMemcpy(elements.data(), m_SceneData, count * kSceneElementBytes, cudaMemcpyDeviceToHost);
}
}
