// The world's spatial index: the placed objects (their C3DObjectLogic) in an octree over a
// fixed cell, refreshed once per frame, queried for what the camera may see, and drawn as
// boxes for debugging. Objects are added and never removed. Main thread only.
#pragma once

#include <cstdint>
#include <vector>

#include "kelvo/world/3DObjectLogic.h"
#include "kelvo/core/AabbTree.h"
#include "kelvo/world/TraceHit.h"

class C3DSpace : public kelvo::aabb_tree_t<C3DObjectLogic, 6, kelvo::trace_hit_t>
{
public:
    using Tree = kelvo::aabb_tree_t<C3DObjectLogic, 6, kelvo::trace_hit_t>;

    static constexpr uint32_t kContentColour = 0x8F8F8F;
    static constexpr uint32_t kCellColour = 0x6F6F6F;
    // Extra height given to every object's box on each axis, as for mesh triangles.
    static constexpr float kBoxThickness = 0.0001f;

    explicit C3DSpace(const SBox& rootCell)
        : Tree(rootCell)
    {
    }

    // Unbounded objects go to their own list; others into the tree with their world box.
    // False when the object is already in the space.
    bool Insert(C3DObjectLogic* object);

    // Moves the boxes of objects that moved; once per frame after the object update.
    void Refresh();

    // Appends to out the unbounded objects and every object in a leaf whose content lies
    // within radius of the camera; on the way, writes every object's corners in camera
    // space into its transform state.
    bool QueryVisible(std::vector<C3DObjectLogic*>& out, const SMatrix& projection,
                      const STransformState& camera, float radius);

    // The nearest object whose renderable surfaces the ray meets (see CRenderableLogic::
    // TraceSurfaces); hit.distance is s * ray.length for the hit at fraction s of the segment.
    bool Trace(const SRay& ray, kelvo::trace_hit_t& hit) const;

    // Draws the content boxes of node (the root when null) and its subtree, and the cell
    // box of every leaf with items, through drawBox(box, colour).
    template <typename TDrawBox>
    void DebugDraw(TDrawBox drawBox, const SNode* node = nullptr) const
    {
        if (!node)
            node = &GetRoot();
        drawBox(node->content, kContentColour);
        if (node->children)
        {
            for (int i = 0; i < 8; ++i)
                DebugDraw(drawBox, &node->children[i]);
        }
        else if (!node->items.empty())
        {
            drawBox(node->content, kContentColour);
            drawBox(node->cell, kCellColour);
        }
    }

    const std::vector<C3DObjectLogic*>& GetUnbounded() const { return m_Unbounded; }

private:
    std::vector<C3DObjectLogic*> m_Unbounded;
};
