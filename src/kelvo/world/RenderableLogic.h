// The component that makes an object visible: a list of surfaces (meshes with their
// materials), drawn in order after the object's matrices are written to the render
// variables. It keeps the object's local box equal to the box of its meshes and answers ray
// traces against them. Owns its surfaces. Main thread only.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kelvo/core/ObjectLogicBase.h"
#include "kelvo/core/Ray.h"
#include "kelvo/world/TraceHit.h"

class CSurface;

class CRenderableLogic : public CObjectLogicBase
{
    KELVO_RTTI(CRenderableLogic, CObjectLogicBase)

public:
    ~CRenderableLogic() override;

    // Appends a surface of the mesh and material (see CSurface) and updates the bounds.
    CSurface* ShowSurface(const std::string& meshName, const std::string& materialName);
    // The owner's local box becomes the box around all surfaces with a mesh (unchanged when
    // there are none).
    void UpdateBounds();
    // Writes "r_world", "r_world_normal", "r_projection_view_world" and "r_view_world" for
    // the owner, then draws every surface.
    void Render();
    // Traces the traceable surfaces with a ray in the owner's local space; the nearest hit
    // (not farther than hit.distance) gives hit its distance, surface and triangle.
    bool TraceSurfaces(const SRay& localRay, kelvo::trace_hit_t& hit) const;

    uint32_t GetSurfaceCount() const { return static_cast<uint32_t>(m_Surfaces.size()); }
    CSurface* GetSurface(uint32_t index) const { return m_Surfaces[index]; }

private:
    std::vector<CSurface*> m_Surfaces;
};
