// The triangles of one mesh in a spatial tree, for ray tests against the mesh. Built on
// first use from the mesh's streams and rebuilt only when its owner marks it; the build
// runs under the object's lock, so several threads may trace the same mesh. Tracing reads
// the built tree without the lock.
#pragma once

#include <atomic>
#include <cstdint>

#include "kelvo/core/AabbTree.h"
#include "kelvo/gpu/TraceGeometryTriangle.h"
#include "platform/Section.h"

// What a build reads: the mesh's positions (16-byte elements), its indices (32-bit when
// indexSize is 4, 16-bit otherwise) and its bounding box. Null streams give an empty tree.
struct STraceSource
{
    const SVector4* positions = nullptr;
    uint32_t vertexCount = 0;
    const void* indices = nullptr;
    uint32_t indexCount = 0;
    uint32_t indexSize = 4;
    SBox bounds;
};

class CTraceGeometry : public kelvo::aabb_tree_t<STraceGeometryTriangle, 6, STraceMeshHit>, public CSection
{
public:
    using Tree = kelvo::aabb_tree_t<STraceGeometryTriangle, 6, STraceMeshHit>;

    // Extra height given to every triangle box on each axis, so flat ones still have volume.
    static constexpr float kBoxThickness = 0.0001f;

    CTraceGeometry();
    ~CTraceGeometry() override;

    // The next EnsureBuilt builds again.
    void MarkForBuild() { m_NeedsBuild = true; }
    bool NeedsBuild() const { return m_NeedsBuild; }
    // Builds from source when marked; counts the builds.
    void EnsureBuilt(const STraceSource& source);
    // Replaces the tree with the triangles of source. Triangles with an index past the
    // vertices or without area are left out: no ray can hit them.
    void Build(const STraceSource& source);

    // The nearest triangle the ray meets (at fraction s of its segment, 0 <= s <= 1);
    // hit.distance = s * ray length.
    bool Trace(const SRay& ray, STraceMeshHit& hit) const;

    uint32_t GetBuildCount() const { return m_BuildCount; }
    uint32_t GetTriangleCount() const { return m_TriangleCount; }
    const STraceGeometryTriangle* GetTriangles() const { return m_Triangles; }

    // The ray-triangle test of one triangle.
    static bool TraceTriangle(const SRay& ray, const STraceGeometryTriangle& triangle, STraceMeshHit& hit);
    // The box of a triangle, kBoxThickness higher on each axis.
    static SBox TriangleBox(const STraceGeometryTriangle& triangle);

private:
    void FreeTriangles();

    std::atomic<bool> m_NeedsBuild = true;
    uint32_t m_BuildCount = 0;
    uint32_t m_TriangleCount = 0;
    STraceGeometryTriangle* m_Triangles = nullptr;
};
