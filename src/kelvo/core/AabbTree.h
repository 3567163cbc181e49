// An octree over a fixed root cell whose items are axis-aligned boxes. Every item sits in a
// leaf at depth MaxDepth, the child chosen at each level being the one whose cell overlaps
// the item's box the most; every node carries the box around all items below it, so
// queries descend only where there is content. T is the payload type (not owned), Hit the
// result record of a ray trace (fields distance, and whatever the payload test fills in).
// Not thread-safe for changes; tracing only reads.
#pragma once

#include <cstdint>
#include <cstring>
#include <unordered_map>
#include <vector>

#include "kelvo/core/Math.h"
#include "kelvo/core/Ray.h"
#include "kelvo/core/RayBox.h"

namespace kelvo
{
template <typename T, int MaxDepth, typename Hit>
class aabb_tree_t
{
public:
    struct SNode;

    struct SItem
    {
        SBox box;
        SNode* leaf = nullptr;
        T* payload = nullptr;
    };

    struct alignas(16) SNode
    {
        SBox cell;
        // Around all items in the subtree; all zeros when there are none.
        SBox content;
        int32_t depth = 0;
        bool dirty = false;
        uint32_t itemCount = 0;
        SNode* parent = nullptr;
        // Eight children allocated together, or null.
        SNode* children = nullptr;
        std::vector<SItem*> items;
    };

    // Distance of a trace that hit nothing.
    static constexpr float kNoHitDistance = 1000000.0f;

    explicit aabb_tree_t(const SBox& rootCell) { m_Root.cell = rootCell; }
    virtual ~aabb_tree_t() { Clear(); }
    aabb_tree_t(const aabb_tree_t&) = delete;
    aabb_tree_t& operator=(const aabb_tree_t&) = delete;

    // Adds payload with its box; false, and nothing changed, when it is already present.
    bool Insert(T* payload, const SBox& box)
    {
        if (m_Items.contains(payload))
            return false;
        auto* item = new SItem{box, nullptr, payload};
        m_Items.emplace(payload, item);
        InsertItem(&m_Root, item);
        return true;
    }

    // Brings every item's box up to date with boxOf(payload): an item whose new box still
    // overlaps its leaf's cell stays there, any other moves; then the changed paths are refit.
    template <typename TBoxOf>
    void Refresh(TBoxOf boxOf)
    {
        for (auto& [payload, item] : m_Items)
        {
            const SBox box = boxOf(*payload);
            if (std::memcmp(&box, &item->box, sizeof(SBox)) == 0)
                continue;
            item->box = box;
            SNode* leaf = item->leaf;
            MarkDirty(leaf);
            if (BoxOverlapVolume(box, leaf->cell) > 0.0f)
                continue;
            RemoveFromLeaf(item);
            InsertItem(&m_Root, item);
        }
        if (m_Root.dirty)
            Refit(&m_Root);
    }

    // The leaves with items whose subtree content boxes overlap box (touching counts).
    void QueryBox(const SBox& box, std::vector<const SNode*>& leaves) const
    {
        VisitLeaves([&](const SNode& node) { return BoxesOverlap(node.content, box); },
                    [&](const SNode& leaf) { leaves.push_back(&leaf); });
    }

    // The leaves with items that the ray's line meets ahead of its origin (descending only
    // where the root's content meets the ray's segment).
    void QueryRay(const SRay& ray, std::vector<const SNode*>& leaves) const
    {
        VisitRayLeaves(ray, [&](const SNode& leaf) { leaves.push_back(&leaf); });
    }

    // The nearest item hit: each item whose box the ray hits is given to test(ray, payload,
    // candidate) with candidate.distance at kNoHitDistance; a success strictly nearer than
    // the hit so far replaces it, so among equal distances the first found wins.
    template <typename TTest>
    bool Trace(const SRay& ray, Hit& hit, TTest test) const
    {
        hit = Hit{};
        hit.distance = kNoHitDistance;
        bool taken = false;
        VisitRayLeaves(ray, [&](const SNode& leaf) {
            for (const SItem* item : leaf.items)
            {
                if (!RayHitsBox(ray, item->box))
                    continue;
                Hit candidate{};
                candidate.distance = kNoHitDistance;
                if (test(ray, *item->payload, candidate) && candidate.distance < hit.distance)
                {
                    hit = candidate;
                    taken = true;
                }
            }
        });
        return taken;
    }

    // Removes every item and node below the root.
    void Clear()
    {
        DeleteChildren(&m_Root);
        m_Root.items.clear();
        m_Root.itemCount = 0;
        m_Root.content = SBox{};
        m_Root.dirty = false;
        for (auto& entry : m_Items)
            delete entry.second;
        m_Items.clear();
    }

    // A new root cell for an empty tree.
    void ResetRoot(const SBox& rootCell)
    {
        Clear();
        m_Root.cell = rootCell;
    }

    const SNode& GetRoot() const { return m_Root; }
    std::size_t GetItemCount() const { return m_Items.size(); }
    // The stored item of a payload, or null.
    const SItem* FindItem(const T* payload) const
    {
        auto found = m_Items.find(const_cast<T*>(payload));
        return found == m_Items.end() ? nullptr : found->second;
    }

protected:
    template <typename TVisit>
    void ForEachItem(TVisit visit)
    {
        for (auto& entry : m_Items)
            visit(*entry.second);
    }

    // Calls onLeaf for every leaf with items reached through nodes with items for which
    // enter(node) is true, root included.
    template <typename TEnter, typename TOnLeaf>
    void VisitLeaves(TEnter enter, TOnLeaf onLeaf) const
    {
        VisitFrom(m_Root, enter, onLeaf);
    }

    template <typename TOnLeaf>
    void VisitRayLeaves(const SRay& ray, TOnLeaf onLeaf) const
    {
        if (m_Root.itemCount == 0 || !RayHitsBox(ray, m_Root.content))
            return;
        auto enter = [&](const SNode& node) {
            return &node == &m_Root || RayMeetsBoxAhead(ray, node.content);
        };
        VisitFrom(m_Root, enter, onLeaf);
    }

private:
    template <typename TEnter, typename TOnLeaf>
    static void VisitFrom(const SNode& node, TEnter& enter, TOnLeaf& onLeaf)
    {
        if (node.itemCount == 0 || !enter(node))
            return;
        if (!node.children)
        {
            if (!node.items.empty())
                onLeaf(node);
            return;
        }
        for (int i = 0; i < 8; ++i)
            VisitFrom(node.children[i], enter, onLeaf);
    }

    static void InsertItem(SNode* node, SItem* item)
    {
        while (node->children || node->depth < MaxDepth)
        {
            if (!node->children)
                Split(node);
            // The child holding the most of the item; the lower index on equal volumes.
            SNode* best = &node->children[0];
            float bestVolume = BoxOverlapVolume(best->cell, item->box);
            for (int i = 1; i < 8; ++i)
            {
                const float volume = BoxOverlapVolume(node->children[i].cell, item->box);
                if (volume > bestVolume)
                {
                    best = &node->children[i];
                    bestVolume = volume;
                }
            }
            node = best;
        }
        node->items.push_back(item);
        item->leaf = node;
        for (SNode* n = node; n; n = n->parent)
        {
            if (n->itemCount == 0)
                n->content = item->box;
            else
                MergeBox(n->content, item->box);
            ++n->itemCount;
        }
    }

    static void Split(SNode* node)
    {
        node->children = new SNode[8];
        const SVector4 half = (node->cell.max - node->cell.min) * 0.5f;
        for (int i = 0; i < 8; ++i)
        {
            SNode& child = node->children[i];
            child.depth = node->depth + 1;
            child.parent = node;
            const SVector4 corner{node->cell.min.x + half.x * static_cast<float>(i & 1),
                                  node->cell.min.y + half.y * static_cast<float>((i >> 1) & 1),
                                  node->cell.min.z + half.z * static_cast<float>((i >> 2) & 1),
                                  node->cell.min.w};
            child.cell = {corner, corner + half};
        }
    }

    static void DeleteChildren(SNode* node)
    {
        if (!node->children)
            return;
        for (int i = 0; i < 8; ++i)
            DeleteChildren(&node->children[i]);
        delete[] node->children;
        node->children = nullptr;
    }

    // Marks node and its ancestors dirty, up to the first one that already is.
    static void MarkDirty(SNode* node)
    {
        for (; node && !node->dirty; node = node->parent)
            node->dirty = true;
    }

    static void RemoveFromLeaf(SItem* item)
    {
        std::vector<SItem*>& items = item->leaf->items;
        for (auto it = items.begin(); it != items.end(); ++it)
            if (*it == item)
            {
                items.erase(it);
                break;
            }
        item->leaf = nullptr;
    }

    // Recomputes counts and content boxes along the dirty paths below node; subtrees left
    // without items lose their nodes.
    static void Refit(SNode* node)
    {
        node->dirty = false;
        node->content = SBox{};
        if (!node->children)
        {
            node->itemCount = static_cast<uint32_t>(node->items.size());
            for (std::size_t i = 0; i < node->items.size(); ++i)
                if (i == 0)
                    node->content = node->items[i]->box;
                else
                    MergeBox(node->content, node->items[i]->box);
            return;
        }
        node->itemCount = 0;
        for (int i = 0; i < 8; ++i)
        {
            SNode& child = node->children[i];
            if (child.dirty)
                Refit(&child);
            if (child.itemCount == 0)
                continue;
            if (node->itemCount == 0)
                node->content = child.content;
            else
                MergeBox(node->content, child.content);
            node->itemCount += child.itemCount;
        }
        if (node->itemCount == 0)
            DeleteChildren(node);
    }

    std::unordered_map<T*, SItem*> m_Items;
    SNode m_Root;
};
}
