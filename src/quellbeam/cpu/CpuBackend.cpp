#include "quellbeam/cpu/CpuBackend.h"

#include "quellbeam/cpu/PacketShading.h"

#include <algorithm>
#include <cstring>
#include <new>
#include <thread>

namespace quellbeam
{
namespace
{
constexpr uint32_t kUnitWidth = 128;
constexpr uint32_t kUnitHeight = 8;
constexpr uint32_t kColumnWidth = 8;
}

CCpuBackend::CCpuBackend(uint32_t threadCount)
    : m_ThreadCount(threadCount != 0 ? threadCount : std::max(1u, std::thread::hardware_concurrency()))
{
}

int CCpuBackend::Initialize()
{
    try
    {
        m_SceneData.assign(kSceneBufferBytes / sizeof(SVec4), SVec4{0, 0, 0, 0});
        m_TreeMemory.assign(kTreeWindowWords, 0);
        m_Workers = std::make_unique<CWorkerPool>(m_ThreadCount);
    }
    catch (const std::bad_alloc&)
    {
        return kBackendOutOfMemory;
    }
    catch (const std::system_error&)
    {
        return kBackendOutOfMemory;
    }
    m_Initialized = true;
    return kBackendOk;
}

const char* CCpuBackend::DescribeError(int error) const
{
    switch (error)
    {
    case kBackendOk:
        return "no error";
    case kBackendInvalidValue:
        return "invalid value";
    case kBackendOutOfMemory:
        return "out of memory";
    case kBackendNotMapped:
        return "not set up or not mapped";
    case kBackendTreeMemoryFull:
        return "tree memory full";
    default:
        return "unknown error";
    }
}

uint64_t CCpuBackend::GetSceneBufferAddress() const
{
    return reinterpret_cast<uintptr_t>(m_SceneData.data());
}

int CCpuBackend::RegisterTexture(ITracerTexture* texture)
{
    return texture != nullptr ? kBackendOk : kBackendInvalidValue;
}

int CCpuBackend::WriteSceneData(uint32_t byteOffset, const void* data, uint32_t bytes)
{
    if (!m_Initialized)
        return kBackendNotMapped;
    if (byteOffset > kSceneBufferBytes || bytes > kSceneBufferBytes - byteOffset)
        return kBackendInvalidValue;
    std::memcpy(reinterpret_cast<char*>(m_SceneData.data()) + byteOffset, data, bytes);
    return kBackendOk;
}

int CCpuBackend::WriteConstants(const SKernelConstants& constants, uint32_t byteOffset, uint32_t bytes)
{
    if (byteOffset > sizeof(SKernelConstants) || bytes > sizeof(SKernelConstants) - byteOffset)
        return kBackendInvalidValue;
    std::memcpy(reinterpret_cast<char*>(&m_Constants) + byteOffset,
                reinterpret_cast<const char*>(&constants) + byteOffset, bytes);
    return kBackendOk;
}

int CCpuBackend::BindFloorTexture(ITracerTexture* texture)
{
    m_FloorTexels.clear();
    m_FloorWidth = m_FloorHeight = 0;
    if (texture == nullptr)
        return kBackendOk;
    const uint32_t width = texture->GetWidth();
    const uint32_t height = texture->GetHeight();
    if (texture->GetFormat() != kTracerTextureArgb8 || width == 0 || height == 0)
        return kBackendInvalidValue;
    uint32_t pitch = 0;
    const auto* texels = static_cast<const uint8_t*>(texture->Lock(&pitch));
    if (texels == nullptr || pitch < width * 4)
    {
        if (texels != nullptr)
            texture->Unlock();
        return kBackendNotMapped;
    }
    // The host copy of the floor stays valid while it is current; the program's copy is handed back.
    m_FloorTexels.resize(static_cast<size_t>(width) * height);
    for (uint32_t row = 0; row < height; ++row)
        std::memcpy(&m_FloorTexels[static_cast<size_t>(row) * width],
                    texels + static_cast<size_t>(row) * pitch, width * 4);
    texture->Unlock();
    m_FloorWidth = width;
    m_FloorHeight = height;
    return kBackendOk;
}

int CCpuBackend::ResetFrame()
{
    m_RayCounts = {};
    return m_Initialized ? kBackendOk : kBackendNotMapped;
}

int CCpuBackend::MapOutput(ITracerTexture* output)
{
    if (output == nullptr || output->GetFormat() != kTracerTextureFloat4)
        return kBackendInvalidValue;
    if (m_Output != nullptr)
        UnmapOutput();
    uint32_t pitch = 0;
    void* texels = output->Lock(&pitch);
    if (texels == nullptr)
        return kBackendNotMapped;
    if (pitch % sizeof(SVec4) != 0 || pitch / sizeof(SVec4) < output->GetWidth())
    {
        output->Unlock();
        return kBackendInvalidValue;
    }
    m_Output = output;
    m_OutputTexels = static_cast<SVec4*>(texels);
    m_OutputPitch = pitch / sizeof(SVec4);
    return kBackendOk;
}

int CCpuBackend::UnmapOutput()
{
    if (m_Output == nullptr)
        return kBackendNotMapped;
    m_Output->Unlock();
    m_Output = nullptr;
    m_OutputTexels = nullptr;
    return kBackendOk;
}

int CCpuBackend::BuildTree(uint32_t count, uint32_t* descriptorCopy)
{
    if (!m_Initialized)
        return kBackendNotMapped;
    if (static_cast<uint64_t>(count) * 3 * kSceneElementBytes > kSceneBufferBytes)
        return kBackendInvalidValue;
    m_BuildCount = count;
    m_Workers->Run(&CCpuBackend::BuildBoth, this);
    std::memcpy(descriptorCopy, m_Descriptor, sizeof(m_Descriptor));
    return m_TreeComplete ? kBackendOk : kBackendTreeMemoryFull;
}

void CCpuBackend::BuildBoth(void* context, uint32_t worker)
{
    CCpuBackend& backend = *static_cast<CCpuBackend*>(context);
    const float minBB = backend.m_Constants.minBB, maxBB = backend.m_Constants.maxBB;
    if (worker == 0)
        backend.m_TreeComplete =
            backend.m_TreeBuilder.Build(backend.m_SceneData.data(), backend.m_BuildCount, minBB, maxBB,
                                        backend.m_Descriptor, backend.m_TreeMemory.data(), kTreeWindowWords);
    if (worker == backend.m_Workers->GetThreadCount() - 1)
        backend.m_Bvh.Build(backend.m_SceneData.data(), backend.m_BuildCount, minBB, maxBB);
}

int CCpuBackend::TraceFrame(uint32_t count, uint32_t width, uint32_t height)
{
    if (!m_Initialized || m_OutputTexels == nullptr)
        return kBackendNotMapped;
    if (width == 0 || height == 0 || m_Descriptor[kTreeCountWord] != count)
        return kBackendInvalidValue;
    SFrameJob job;
    job.scene = GetSceneView(count);
    job.balls = GetBallQuery();
    job.constants = &m_Constants;
    job.output = m_OutputTexels;
    job.pitch = m_OutputPitch;
    // Pixels outside the mapped texture are never written.
    job.width = std::min(width, m_Output->GetWidth());
    job.height = std::min(height, m_Output->GetHeight());
    job.inverseWidth = 1.0f / static_cast<float>(width);
    job.inverseHeight = 1.0f / static_cast<float>(height);
    job.nextUnit = 0;
    job.primary = job.shadow = job.bounce = 0;
    m_Workers->Run(&CCpuBackend::TraceUnits, &job);
    m_RayCounts = SRayCounts{job.primary.load(), job.shadow.load(), job.bounce.load()};
    return kBackendOk;
}

SSceneView CCpuBackend::GetSceneView(uint32_t count) const
{
    return SSceneView{m_SceneData.data(),
                      count,
                      m_Descriptor,
                      m_TreeMemory.data(),
                      m_FloorTexels.empty() ? nullptr : m_FloorTexels.data(),
                      m_FloorWidth,
                      m_FloorHeight};
}

void CCpuBackend::TraceUnits(void* context, uint32_t)
{
    SFrameJob& job = *static_cast<SFrameJob*>(context);
    const SKernelConstants& constants = *job.constants;
    const uint32_t blocksX = constants.blocksX;
    SRayCounts counts = {};
    for (;;)
    {
        const uint32_t unit = job.nextUnit.fetch_add(1, std::memory_order_relaxed);
        if (unit >= constants.totalBlocks || blocksX == 0)
            break;
        const uint32_t x0 = kUnitWidth * (unit % blocksX);
        const uint32_t y0 = kUnitHeight * (unit / blocksX);
        if (x0 >= job.width || y0 >= job.height)
            continue;
        // Columns eight pixels wide: neighbouring packets meet the same balls while those are still cached.
        const uint32_t x1 = std::min(x0 + kUnitWidth, job.width), y1 = std::min(y0 + kUnitHeight, job.height);
        for (uint32_t x = x0; x < x1; x += kColumnWidth)
            TracePacketRect(job.scene, constants, job.balls, x, std::min(x + kColumnWidth, x1), y0, y1,
                            job.inverseWidth, job.inverseHeight, job.output, job.pitch, counts);
    }
    job.primary += counts.primary;
    job.shadow += counts.shadow;
    job.bounce += counts.bounce;
}
}
