#include "kelvo/gpu/TraceGeometry.h"

namespace
{
uint32_t IndexAt(const STraceSource& source, uint32_t i)
{
    if (source.indexSize == 4)
        return static_cast<const uint32_t*>(source.indices)[i];
    return static_cast<const uint16_t*>(source.indices)[i];
}

// Fills the frame matrices of a triangle; false when it has no area.
bool SetFrame(STraceGeometryTriangle& triangle)
{
    const SVector3 p0 = XYZ(*triangle.vertices[0]);
    const SVector3 edge1 = XYZ(*triangle.vertices[1]) - p0;
    const SVector3 edge2 = XYZ(*triangle.vertices[2]) - p0;
    const SVector3 normal = Cross(edge1, edge2);
    SMatrix& frame = triangle.frame;
    frame = MatrixIdentity();
    const SVector3 rows[4] = {edge1, edge2, normal, p0};
    for (int row = 0; row < 4; ++row)
    {
        frame(row, 0) = rows[row].x;
        frame(row, 1) = rows[row].y;
        frame(row, 2) = rows[row].z;
    }
    if (!MatrixInverse(frame, triangle.inverseFrame))
        return false;
    triangle.normalFrame = MatrixTranspose(triangle.inverseFrame);
    for (int row = 0; row < 4; ++row)
        triangle.normalFrame(row, 3) = 0.0f;
    return true;
}
}

CTraceGeometry::CTraceGeometry()
    : Tree(SBox{})
{
}

CTraceGeometry::~CTraceGeometry()
{
    Clear();
    FreeTriangles();
}

void CTraceGeometry::EnsureBuilt(const STraceSource& source)
{
    CSectionLock lock(this);
    if (!m_NeedsBuild)
        return;
    Build(source);
    ++m_BuildCount;
    m_NeedsBuild = false;
}

void CTraceGeometry::Build(const STraceSource& source)
{
    CSectionLock lock(this);
    ResetRoot(source.bounds);
    FreeTriangles();
    if (!source.positions || !source.indices)
        return;
    m_TriangleCount = source.indexCount / 3;
    m_Triangles = new STraceGeometryTriangle[m_TriangleCount];
    for (uint32_t i = 0; i < m_TriangleCount; ++i)
    {
        STraceGeometryTriangle& triangle = m_Triangles[i];
        triangle.index = i;
        bool inRange = true;
        for (uint32_t corner = 0; corner < 3; ++corner)
        {
            const uint32_t vertex = IndexAt(source, i * 3 + corner);
            inRange = inRange && vertex < source.vertexCount;
            triangle.vertices[corner] = inRange ? &source.positions[vertex] : nullptr;
        }
        if (inRange && SetFrame(triangle))
            Insert(&triangle, TriangleBox(triangle));
    }
}

bool CTraceGeometry::Trace(const SRay& ray, STraceMeshHit& hit) const
{
    return Tree::Trace(ray, hit, &CTraceGeometry::TraceTriangle);
}

bool CTraceGeometry::TraceTriangle(const SRay& ray, const STraceGeometryTriangle& triangle,
                                   STraceMeshHit& hit)
{
    // The segment's ends in the triangle's frame.
    const SVector3 origin = XYZ(ray.origin);
    const SVector3 o = TransformPoint(origin, triangle.inverseFrame);
    const SVector3 e = TransformPoint(origin + XYZ(ray.direction), triangle.inverseFrame);
    const float s = o.z / (o.z - e.z);
    if (!(s >= 0.0f && s <= 1.0f))
        return false;
    const float a = o.x + (e.x - o.x) * s;
    const float b = o.y + (e.y - o.y) * s;
    if (a < 0.0f || b < 0.0f || a + b > 1.0f)
        return false;
    hit.distance = ray.length * s;
    hit.triangle = &triangle;
    return true;
}

SBox CTraceGeometry::TriangleBox(const STraceGeometryTriangle& triangle)
{
    SBox box{*triangle.vertices[0], *triangle.vertices[0]};
    ExtendBox(box, *triangle.vertices[1]);
    ExtendBox(box, *triangle.vertices[2]);
    box.max.x += kBoxThickness;
    box.max.y += kBoxThickness;
    box.max.z += kBoxThickness;
    return box;
}

void CTraceGeometry::FreeTriangles()
{
    delete[] m_Triangles;
    m_Triangles = nullptr;
    m_TriangleCount = 0;
}
