// A soft body: a closed triangle mesh whose vertices are mass points joined by springs along
// its edges, kept at pressure by its volume. Nothing in the program registers one yet.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/physics/PhysicsModel.h"

class CPressureModel : public IPhysicsModel
{
public:
    explicit CPressureModel(const GPUObjectHandle& mesh)
        : m_Mesh(mesh)
    {
    }

    // The engine's passes move the body; the model itself has no per-step work.
    void Step() override {}
    const GPUObjectHandle& GetMesh() const { return m_Mesh; }

private:
    GPUObjectHandle m_Mesh;
};
