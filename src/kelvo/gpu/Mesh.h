// A mesh on the CPU: named streams ("position", "normal", "tex0", "indices", ...), one array
// per attribute, plus surfaces (primitive ranges drawn with one material each) and the
// handles of the materials the mesh holds a reference to. The vertex layout is derived from
// the stream names whenever the mesh is updated. Producers change stream data and then call
// Update; the backend's mesh class (CMeshGL) adds the device copy and drawing.
// Main thread only (the thread that owns the device).
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/gpu/GPUResource.h"
#include "kelvo/gpu/MeshDataBuffer.h"
#include "kelvo/gpu/MeshDebugDisplay.h"
#include "kelvo/gpu/MeshSurface.h"
#include "kelvo/gpu/MeshVertexElement.h"
#include "kelvo/gpu/TraceGeometry.h"

#include <cstdint>
#include <string>
#include <vector>

class CGPUResourceManager;
class CMaterial;

class CMesh : public IGPUResource
{
    KELVO_RTTI(CMesh, IGPUResource)

public:
    enum EPrimitiveType : uint32_t
    {
        kLineList = 0,
        kTriangleList = 1,
        kPointList = 2,
    };

    // resources (not owned, may be null) takes back the material references on Release.
    explicit CMesh(CGPUResourceManager* resources);
    CMesh(const CMesh&) = delete;
    CMesh& operator=(const CMesh&) = delete;
    ~CMesh() override;

    // The bounding box from "position", then the trace geometry is marked for rebuilding.
    bool Update() override;
    bool Refresh() override { return true; }
    // Frees all streams, gives back every material reference and forgets the surfaces.
    bool Release() override;
    // Loads a registered ".x"/".X" or ".am"/".AM" file (2 for another extension): the
    // mesh is then named after the file's path up to its first ".", bounded, declared and
    // uploaded; the upload's code is the result. ".x" files named "BugattiVeyron.x",
    // "Hebe.x" and "McLarenF1.x" get their fixed corrections.
    uint32_t Load(const std::string& fileName) override;
    // Derives the vertex layout and the stream-name list from the streams; the backend
    // also makes its device declaration (26 when that fails).
    virtual uint32_t CreateVertexDeclaration();
    // Copies the streams to the device; the base class has no device (2).
    virtual uint32_t UploadBuffers();

    // The 1 x 1 x 1 box (the sizes are not used) and the torus of BuiltInMeshes.h, each
    // ending with Update, whose result they give.
    virtual bool CreateBox(float width, float height, float depth);
    virtual bool CreateTorus(uint32_t rings, uint32_t sides, float innerRadius, float outerRadius);

    // Draws everything.
    uint32_t Render() { return Render(0, 0, 0, 0); }
    // Draws a range with the current effect pass: vertex and primitive counts of 0 (with
    // their first at 0) mean all. The base class has no device (2).
    virtual uint32_t Render(uint32_t firstVertex, uint32_t vertexCount, uint32_t firstPrimitive,
                            uint32_t primitiveCount);
    // Draws surface index (one material's part) after the debugging display, which may hide
    // it; 55 when there is none.
    uint32_t RenderSurface(uint32_t index);
    CMeshDebugDisplay& GetDebugDisplay() { return m_DebugDisplay; }

    // The stream of that name; when absent, a new empty one of that stride (null for 0).
    CMeshDataBuffer* GetBuffer(const std::string& name, uint32_t stride);
    const CMeshDataBuffer* FindBuffer(const std::string& name) const;
    // Appends name to the stream-name list, then GetBuffer(name, stride).
    CMeshDataBuffer* AddStream(const std::string& name, uint32_t stride);
    const std::vector<CMeshDataBuffer*>& GetStreams() const { return m_Streams; }

    void SetPrimitiveType(uint32_t type) { m_PrimitiveType = type; }
    uint32_t GetPrimitiveType() const { return m_PrimitiveType; }
    // Indices per primitive: 2 for lines, 3 for triangles, 1 for points.
    uint32_t GetIndicesPerPrimitive() const;

    // The registered path of the loaded file up to its first ".".
    const std::string& GetName() const { return m_Name; }

    std::vector<SMeshSurface>& GetSurfaces() { return m_Surfaces; }
    const std::vector<SMeshSurface>& GetSurfaces() const { return m_Surfaces; }
    std::vector<GPUObjectHandle>& GetMaterialHandles() { return m_MaterialHandles; }
    const std::vector<GPUObjectHandle>& GetMaterialHandles() const { return m_MaterialHandles; }
    // Removes surface index with its material reference and its triangles (32-bit indices
    // only; 16-bit ones are logged as unsupported and kept); later surfaces move down. False,
    // with nothing changed, for an index beyond the surfaces.
    bool RemoveSurface(uint32_t index);
    // The material of the mesh's own for index, "mesh_%08x_mat_%i" (mesh identity, index),
    // found or created; the mesh keeps a reference to it. Null without a resource manager or
    // when it cannot be had.
    CMaterial* AddOwnMaterial(uint32_t index);
    // The name of the mesh's own material for index.
    std::string OwnMaterialName(uint32_t index) const;
    // The resource manager given at construction (may be null).
    CGPUResourceManager* GetResources() const { return m_Resources; }

    // The box from "position" (x, y, z, 1 corners); all zeros for an empty stream; false
    // without a "position" stream.
    bool UpdateBoundingBox();
    void GetBoundingBox(float outMin[4], float outMax[4]) const;

    // Positions (fourth float set to 1) by the matrix; normals by its rotation part and
    // normalised (left unscaled when shorter than 0.000001). Missing streams are skipped.
    void Transform(const SMatrix& matrix);

    // The nearest triangle the ray meets, kept in hit when not farther than hit.distance (true
    // then). The triangles of a triangle list are put in a tree on the first trace after
    // each Update; other primitive types are never hit.
    bool Trace(const SRay& ray, STraceMeshHit& hit) const;
    bool IsTraceGeometryStale() const { return m_TraceGeometry.NeedsBuild(); }
    const CTraceGeometry& GetTraceGeometry() const { return m_TraceGeometry; }

    // The vertex layout of the streams, in stream order: each stream whose name feeds an
    // input gets the next stream number; its name goes to outNames.
    void BuildVertexLayout(std::vector<SMeshVertexElement>& outElements,
                           std::vector<std::string>& outNames) const;

protected:
    // The ".x" path: fills streams, surfaces and materials from the registered file. The
    // base class has no ".x" loader (16).
    virtual uint32_t LoadXFile(const std::string& fileName);
    const std::vector<SMeshVertexElement>& GetVertexElements() const { return m_Elements; }
    // The stream-name list that AddStream fills and the backend's declaration rebuilds.
    std::vector<std::string>& StreamNames() { return m_StreamNames; }
    const std::vector<std::string>& StreamNames() const { return m_StreamNames; }
    // A copy of every stream (CPU data only), the primitive type and the stream names.
    void CopyStreamsFrom(const CMesh& source);
    void MarkTraceGeometryStale() { m_TraceGeometry.MarkForBuild(); }

private:
    void DestroyStreams();
    void ReleaseMaterials();
    // The streams the trace geometry is built from.
    STraceSource GetTraceSource() const;

    CGPUResourceManager* m_Resources;
    // Names the mesh's own materials; unique for the process.
    uint32_t m_Identity;
    std::vector<GPUObjectHandle> m_MaterialHandles;
    std::vector<SMeshSurface> m_Surfaces;
    std::string m_Name;
    std::vector<CMeshDataBuffer*> m_Streams;
    std::vector<std::string> m_StreamNames;
    std::vector<SMeshVertexElement> m_Elements;
    // Built on demand by tracing threads, hence mutable.
    mutable CTraceGeometry m_TraceGeometry;
    uint32_t m_PrimitiveType = kTriangleList;
    float m_BoundsMin[4] = {0, 0, 0, 0};
    float m_BoundsMax[4] = {0, 0, 0, 0};
    CMeshDebugDisplay m_DebugDisplay;
};
