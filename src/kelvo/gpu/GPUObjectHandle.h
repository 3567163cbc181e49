// The value handle by which the program knows a GPU resource: the container's id and the
// index of the store that holds it. Copied freely; it owns nothing by itself.
#pragma once

#include <cstdint>

// Store indices, also the handle's type.
inline constexpr uint32_t kGPUObjectMesh = 0;
inline constexpr uint32_t kGPUObjectTexture = 1;
inline constexpr uint32_t kGPUObjectEffect = 2;
inline constexpr uint32_t kGPUObjectMaterial = 3;
// Number of stores; as a type it means "no store".
inline constexpr uint32_t kGPUObjectTypeCount = 4;

struct GPUObjectHandle
{
    uint32_t m_Id = 0;
    uint32_t m_Type = kGPUObjectTypeCount;

    bool IsValid() const { return m_Id != 0 && m_Type < kGPUObjectTypeCount; }
    bool operator==(const GPUObjectHandle&) const = default;
};

static_assert(sizeof(GPUObjectHandle) == 8);
