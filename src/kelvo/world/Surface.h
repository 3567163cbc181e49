// One mesh of a renderable object with the materials to draw it: one material for the whole
// mesh, or one per mesh subset. Holds a reference on the mesh and on a material it looked up
// by name, and gives them back when destroyed; the mesh's own materials are used through the
// mesh's references, which live as long as the mesh. Main thread only (the device's thread).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "kelvo/core/Math.h"
#include "kelvo/core/Ray.h"
#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/core/InputQueries.h"
#include "kelvo/gpu/TraceGeometryTriangle.h"

class CMesh;

class CSurface
{
public:
    // The fallback material of a surface without a usable one.
    static constexpr const char* kFallbackMaterial = "ambient_green";

    // Loads (or finds) the mesh. An empty material name takes the mesh's own materials; a
    // mesh without materials, or no mesh, falls back to "ambient_green".
    CSurface(const std::string& meshName, const std::string& materialName);
    ~CSurface();
    CSurface(const CSurface&) = delete;
    CSurface& operator=(const CSurface&) = delete;

    // The mesh's bounding box; false when there is no mesh.
    bool GetBox(SVector4& min, SVector4& max) const;
    // The mesh's nearest triangle when not farther than hit.distance.
    bool Trace(const SRay& ray, STraceMeshHit& hit) const;
    // Draws the mesh with its materials, when visible.
    void Draw();

    CMesh* GetMesh() const;
    const GPUObjectHandle& GetMeshHandle() const { return m_MeshHandle; }
    const std::vector<GPUObjectHandle>& GetMaterials() const { return m_Materials; }
    bool IsVisible() const { return m_Visible; }
    void SetVisible(bool visible) { m_Visible = visible; }
    bool IsTraceable() const { return m_Traceable; }
    void SetTraceable(bool traceable) { m_Traceable = traceable; }
    // Where Draw reads the space bar that steps through subsets.
    void SetInputQueries(const SInputQueries& queries) { m_Input = queries; }

private:
    void DrawSubsets(CMesh* mesh);

    GPUObjectHandle m_MeshHandle;
    std::vector<GPUObjectHandle> m_Materials;
    // Whether m_Materials holds a reference of this surface (a material found by name) or
    // the mesh's own handles.
    bool m_OwnsMaterials = false;
    bool m_Visible = true;
    bool m_Traceable = true;
    SInputQueries m_Input;
};
