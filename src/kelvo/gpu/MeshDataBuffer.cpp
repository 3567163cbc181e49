#include "kelvo/gpu/MeshDataBuffer.h"

#include "platform/AlignedAlloc.h"

#include <cstring>
#include <limits>

CMeshDataBuffer::CMeshDataBuffer(const std::string& name, uint32_t stride)
    : m_Name(name)
    , m_Stride(stride)
{
}

CMeshDataBuffer::CMeshDataBuffer(const CMeshDataBuffer& other)
    : m_Name(other.m_Name)
    , m_Stride(other.m_Stride)
{
    if (Resize(other.m_Count) && other.GetByteCount() != 0)
        std::memcpy(m_Data, other.m_Data, other.GetByteCount());
}

CMeshDataBuffer::~CMeshDataBuffer()
{
    delete m_DeviceBuffer;
    platform::AlignedFree(m_Data);
}

bool CMeshDataBuffer::Resize(uint32_t count)
{
    const uint64_t bytes = static_cast<uint64_t>(count) * m_Stride;
    if (bytes > std::numeric_limits<uint32_t>::max())
        return false;
    if (bytes > m_Capacity)
    {
        auto* grown = static_cast<uint8_t*>(platform::AlignedAlloc(bytes, kAlignment));
        if (grown == nullptr)
            return false;
        if (m_Data != nullptr)
            std::memcpy(grown, m_Data, GetByteCount());
        platform::AlignedFree(m_Data);
        m_Data = grown;
        m_Capacity = static_cast<uint32_t>(bytes);
    }
    m_Count = count;
    return true;
}

bool CMeshDataBuffer::Reset(uint32_t count, uint32_t stride)
{
    m_Count = 0;
    m_Stride = stride;
    return Resize(count);
}

void CMeshDataBuffer::Zero()
{
    if (m_Data != nullptr)
        std::memset(m_Data, 0, m_Capacity);
}

bool CMeshDataBuffer::CopyStrided(const void* source, uint32_t offset, uint32_t elementBytes,
                                  uint32_t sourceStride, uint32_t count)
{
    if (elementBytes > m_Stride || !Resize(count))
        return false;
    const auto* from = static_cast<const uint8_t*>(source) + offset;
    // One block when source and destination elements are packed alike.
    if (sourceStride == elementBytes && elementBytes == m_Stride)
    {
        if (count != 0)
            std::memcpy(m_Data, from, static_cast<std::size_t>(count) * elementBytes);
        return true;
    }
    Zero();
    for (uint32_t i = 0; i < count; ++i)
        std::memcpy(m_Data + static_cast<std::size_t>(i) * m_Stride,
                    from + static_cast<std::size_t>(i) * sourceStride, elementBytes);
    return true;
}

IMeshDeviceBuffer* CMeshDataBuffer::GetDeviceBuffer(IMeshDeviceBuffer::EKind kind) const
{
    return m_DeviceBuffer != nullptr && m_DeviceBuffer->GetKind() == kind ? m_DeviceBuffer : nullptr;
}

void CMeshDataBuffer::SetDeviceBuffer(IMeshDeviceBuffer* buffer)
{
    if (buffer == m_DeviceBuffer)
        return;
    delete m_DeviceBuffer;
    m_DeviceBuffer = buffer;
}
