// A world object drawn as a point set whose positions a scene rewrites every frame. Each
// group owns its own mesh, named "particles_%08x" after the object's address.
#pragma once

#include <cstdint>
#include <string>

#include "kelvo/core/GameObject.h"

class CMesh;

class CParticlesGroupObject : public CGameObject
{
    KELVO_RTTI(CParticlesGroupObject, CGameObject)

public:
    // Attaches a C3DObjectLogic and a CRenderableLogic and creates the point mesh, drawn
    // with the named material. Without a GPU implementation there is no mesh.
    explicit CParticlesGroupObject(const std::string& materialName);

    // Replaces the points with count 16-byte positions read from source, sourceStride bytes
    // apart, and uploads them.
    void SetPositions(const void* source, uint32_t count, uint32_t sourceStride);

    CMesh* GetMesh() const { return m_Mesh; }

private:
    CMesh* m_Mesh = nullptr;
};
