// What the overlay queues draw with: the "default" effect and one built-in mesh, both held
// for the drawing call's scope.
#pragma once

#include "kelvo/gpu/ScopedResource.h"

#include <cstdint>
#include <string>

class CMesh;
class IGPUEffect;

struct SOverlayResources
{
    CScopedResource m_EffectRef;
    CScopedResource m_MeshRef;
    IGPUEffect* m_Effect = nullptr;
    CMesh* m_Mesh = nullptr;
};

// Loads both from the backend: 0, or the overlay code of what could not be had (no backend or
// effect, noMeshResult for the mesh, the missing-resource code when either is of another kind).
uint32_t AcquireOverlayResources(const std::string& meshName, uint32_t noMeshResult, SOverlayResources& out);
