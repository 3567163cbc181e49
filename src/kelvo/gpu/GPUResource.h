// The interface of every GPU resource (mesh, texture, effect, material). A resource is owned
// by its container (GPUObjectContainer) and destroyed through its own destructor, which frees
// its GPU objects. Resource classes add their own operations; casts between them go through
// the run-time type numbers (GPUResourceCast).
#pragma once

#include "kelvo/core/Rtti.h"

#include <cstdint>
#include <string>

class IGPUResource : public CRttiObject
{
    KELVO_RTTI(IGPUResource, CRttiObject)

public:
    // Make the GPU copy match the object's data.
    virtual bool Update() = 0;
    // Textures, meshes and materials answer true, effects false.
    virtual bool Refresh() = 0;
    // Free the GPU objects the resource holds.
    virtual bool Release() = 0;
    // Load from a bare asset file name; a result code of the layer, 0 on success.
    virtual uint32_t Load(const std::string& fileName) = 0;
    // A new resource of the same class with a copy of the data (owned by the caller), or
    // null when the class cannot be copied.
    virtual IGPUResource* Clone() const { return nullptr; }
};

// The resource as a T when it is one (or derives from one), else null.
template <typename T>
T* GPUResourceCast(IGPUResource* resource)
{
    if (resource == nullptr || !resource->IsKindOf(T::StaticTypeId()))
        return nullptr;
    return static_cast<T*>(resource);
}
