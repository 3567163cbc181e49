// One named mesh stream: count elements of stride bytes in a 16-byte-aligned array that only
// grows, so a stream rewritten with the same or a smaller count keeps its array. It may hold
// the device buffer made from it (owned). A copy takes name, stride and data, never the
// device buffer.
#pragma once

#include "kelvo/gpu/MeshDeviceBuffer.h"

#include <cstdint>
#include <string>

class CMeshDataBuffer
{
public:
    static constexpr std::size_t kAlignment = 16;

    CMeshDataBuffer(const std::string& name, uint32_t stride);
    CMeshDataBuffer(const CMeshDataBuffer& other);
    CMeshDataBuffer& operator=(const CMeshDataBuffer&) = delete;
    virtual ~CMeshDataBuffer();

    const std::string& GetName() const { return m_Name; }
    uint32_t GetCount() const { return m_Count; }
    uint32_t GetStride() const { return m_Stride; }
    uint32_t GetCapacity() const { return m_Capacity; }
    uint32_t GetByteCount() const { return m_Count * m_Stride; }
    uint8_t* GetData() { return m_Data; }
    const uint8_t* GetData() const { return m_Data; }
    // Element i as T; the caller keeps i below the count and T within the stride.
    template <typename T>
    T* Element(uint32_t i)
    {
        return reinterpret_cast<T*>(m_Data + static_cast<std::size_t>(i) * m_Stride);
    }
    template <typename T>
    const T* Element(uint32_t i) const
    {
        return reinterpret_cast<const T*>(m_Data + static_cast<std::size_t>(i) * m_Stride);
    }

    // Grows the array when count x stride exceeds the capacity (old bytes kept, new bytes
    // undefined), then sets the count. False, with nothing changed, when the size overflows or
    // the memory cannot be had.
    bool Resize(uint32_t count);
    // Count 0 with the new stride, then Resize(count).
    bool Reset(uint32_t count, uint32_t stride);
    // Zero over the whole capacity.
    void Zero();
    // Resize(count), then element i gets elementBytes from source + offset + i x sourceStride;
    // the rest of each element is zero when elements are wider than elementBytes.
    bool CopyStrided(const void* source, uint32_t offset, uint32_t elementBytes, uint32_t sourceStride,
                     uint32_t count);

    // The device buffer of that kind, or null (also when the buffer is of the other kind).
    IMeshDeviceBuffer* GetDeviceBuffer(IMeshDeviceBuffer::EKind kind) const;
    // Replaces (and frees) the device buffer; null leaves none.
    void SetDeviceBuffer(IMeshDeviceBuffer* buffer);

private:
    std::string m_Name;
    uint8_t* m_Data = nullptr;
    uint32_t m_Count = 0;
    uint32_t m_Stride = 0;
    uint32_t m_Capacity = 0;
    IMeshDeviceBuffer* m_DeviceBuffer = nullptr;
};
