#include "kelvo/world/3DSpace.h"

#include <algorithm>

bool C3DSpace::Insert(C3DObjectLogic* object)
{
    if (object->IsUnbounded()) {
        if (std::find(m_Unbounded.begin(), m_Unbounded.end(), object) != m_Unbounded.end())
            return false;
        m_Unbounded.push_back(object);
        return true;
    }
    return Tree::Insert(object, object->GetWorldBox());
}

void C3DSpace::Refresh()
{
    Tree::Refresh([](C3DObjectLogic& object) { return object.GetWorldBox(); });
}

bool C3DSpace::QueryVisible(std::vector<C3DObjectLogic*>& out, const SMatrix&, const STransformState& camera,
                            float radius)
{
    out = m_Unbounded;
    const SVector3 centre = camera.coarse.ToVector() + SVector3{camera.world.m[12], camera.world.m[13], camera.world.m[14]};
    const SBox query{Point(centre - SVector3{radius, radius, radius}), Point(centre + SVector3{radius, radius, radius})};

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
