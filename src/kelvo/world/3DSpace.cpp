#include "kelvo/world/3DSpace.h"

#include <algorithm>

#include "kelvo/core/GameObject.h"
#include "kelvo/world/RenderableLogic.h"

namespace
{
// The box an object has in the tree: its world box, a little higher on each axis so that a
// flat object (a quad, a ground plane) still has a volume for the ray-box test.
SBox ItemBox(C3DObjectLogic& object)
{
    SBox box = object.GetWorldBox();
    box.max.x += C3DSpace::kBoxThickness;
    box.max.y += C3DSpace::kBoxThickness;
    box.max.z += C3DSpace::kBoxThickness;
    return box;
}

// The payload test: the object's surfaces, traced with the ray in the object's space.
bool TraceObject(const SRay& ray, C3DObjectLogic& object, kelvo::trace_hit_t& hit)
{
    const auto* renderable =
        static_cast<const CRenderableLogic*>(FindLogic(object.GetOwner(), CRenderableLogic::StaticTypeId()));
    if (!renderable || renderable->GetSurfaceCount() == 0)
        return false;
    const SMatrix& inverse = object.GetInverseWorldMatrix();
    const SVector3 origin = TransformPoint(XYZ(ray.origin), inverse);
    const SVector3 end = TransformPoint(XYZ(ray.origin) + XYZ(ray.direction), inverse);
    SRay local;
    local.origin = Point(origin);
    local.direction = {end.x - origin.x, end.y - origin.y, end.z - origin.z, 0.0f};
    // The length scales with the direction, so the segment covers the same fraction in both
    // spaces; the distance found is then taken back to world units, comparable between
    // objects of different scales.
    const float worldReach = Length(XYZ(ray.direction));
    local.length = worldReach > 0.0f ? ray.length * Length(end - origin) / worldReach : 0.0f;
    if (!renderable->TraceSurfaces(local, hit))
        return false;
    if (local.length > 0.0f)
        hit.distance = hit.distance / local.length * ray.length;
    hit.payload = &object;
    return true;
}
}

bool C3DSpace::Insert(C3DObjectLogic* object)
{
    if (object->IsUnbounded())
    {
        if (std::find(m_Unbounded.begin(), m_Unbounded.end(), object) != m_Unbounded.end())
            return false;
        m_Unbounded.push_back(object);
        return true;
    }
    return Tree::Insert(object, ItemBox(*object));
}

void C3DSpace::Refresh()
{
    Tree::Refresh(ItemBox);
}

bool C3DSpace::QueryVisible(std::vector<C3DObjectLogic*>& out, const SMatrix&, const STransformState& camera,
                            float radius)
{
    out = m_Unbounded;
    const SVector3 centre =
        camera.coarse.ToVector() + SVector3{camera.world.m[12], camera.world.m[13], camera.world.m[14]};
    const SBox query{Point(centre - SVector3{radius, radius, radius}),
                     Point(centre + SVector3{radius, radius, radius})};

    // Corners in camera space, positions taken relative to the camera's coarse position.
    SMatrix inverseCamera;
    MatrixInverse(camera.world, inverseCamera);
    ForEachItem([&](SItem& item) {
        STransformState& state = item.payload->GetTransformState();
        const SVector3 relative = (state.coarse - camera.coarse).ToVector();
        SMatrix toCamera = state.world;
        toCamera.m[12] += relative.x;
        toCamera.m[13] += relative.y;
        toCamera.m[14] += relative.z;
        toCamera = toCamera * inverseCamera;
        for (int i = 0; i < 8; ++i)
            state.cameraCorners[i] = Transform(state.corners[i], toCamera);
    });

    std::vector<const SNode*> leaves;
    QueryBox(query, leaves);
    for (const SNode* leaf : leaves)
        for (const SItem* item : leaf->items)
            out.push_back(item->payload);
    return true;
}

bool C3DSpace::Trace(const SRay& ray, kelvo::trace_hit_t& hit) const
{
    return Tree::Trace(ray, hit, TraceObject);
}
