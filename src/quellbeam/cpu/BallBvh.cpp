#include "quellbeam/cpu/BallBvh.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace quellbeam
{
namespace
{
constexpr uint32_t kBins = 16;
// Deeper than this, ranges are halved by count so that the depth (and the walk's stack) stays bounded.
constexpr uint32_t kSurfaceSplitDepth = 32;
constexpr float kInfinity = std::numeric_limits<float>::infinity();

float HalfArea(const float* lower, const float* upper)
{
    const float x = upper[0] - lower[0], y = upper[1] - lower[1], z = upper[2] - lower[2];
    return x * y + y * z + z * x;
}
}

void CBallBvh::Build(const SVec4* spheres, uint32_t count, float minBB, float maxBB)
{
    m_Items.clear();
    m_Nodes.clear();
    m_X.clear();
    m_Y.clear();
    m_Z.clear();
    m_Radius.clear();
    m_Ball.clear();
    if (!(maxBB > minBB))
        return;
    const SGridScale scale = MakeGridScale(minBB, maxBB);
    const SVec3 corner = Vec3(minBB, minBB, minBB);
    const int last = static_cast<int>(kTopCellsPerAxis) - 1;
    // Boxes grow by a margin far above the rounding of the walk's box tests, so that a ball
    // touched at a grazing angle is never skipped.
    const float margin = 1e-5f * std::max({maxBB - minBB, std::fabs(minBB), std::fabs(maxBB)});
    m_Items.reserve(count);
    for (uint32_t ball = 0; ball < count; ++ball)
    {
        SCellRange range;
        if (!BallCellRange(spheres[ball], corner, scale.cellsPerUnit, last, range))
            continue;
        const SVec4& s = spheres[ball];
        const float reach = std::fabs(s.w) + margin;
        m_Items.push_back(
            SItem{{{s.x - reach, s.y - reach, s.z - reach}, {s.x + reach, s.y + reach, s.z + reach}},
                  {s.x, s.y, s.z},
                  s.w,
                  ball});
    }
    if (m_Items.empty())
        return;
    const uint32_t items = static_cast<uint32_t>(m_Items.size());
    m_Nodes.reserve(2 * items / kBvhLeafBalls + 1);
    const size_t slots = (items + 2 * kBvhWidth) & ~size_t{kBvhWidth - 1};
    m_X.reserve(slots);
    m_Y.reserve(slots);
    m_Z.reserve(slots);
    m_Radius.reserve(slots);
    m_Ball.reserve(slots);
    BuildNode(SRange{0, items, BoundsOf(0, items)}, 0);
    // Padding slots: far away and of no size, never hit.
    while (m_X.size() % kBvhWidth != 0 || m_X.size() < items + kBvhWidth)
    {
        m_X.push_back(kInfinity);
        m_Y.push_back(kInfinity);
        m_Z.push_back(kInfinity);
        m_Radius.push_back(0.0f);
        m_Ball.push_back(kNoBall);
    }
}

SBvhView CBallBvh::View() const
{
    return SBvhView{m_Nodes.data(), static_cast<uint32_t>(m_Nodes.size()),
                    m_X.data(),     m_Y.data(),
                    m_Z.data(),     m_Radius.data(),
                    m_Ball.data()};
}

CBallBvh::SBox CBallBvh::BoundsOf(uint32_t begin, uint32_t end) const
{
    SBox box = {{kInfinity, kInfinity, kInfinity}, {-kInfinity, -kInfinity, -kInfinity}};
    for (uint32_t i = begin; i < end; ++i)
        for (int axis = 0; axis < 3; ++axis)
        {
            box.lower[axis] = std::min(box.lower[axis], m_Items[i].box.lower[axis]);
            box.upper[axis] = std::max(box.upper[axis], m_Items[i].box.upper[axis]);
        }
    return box;
}

// Opens up to eight children by splitting the largest one again and again, then builds them.
uint32_t CBallBvh::BuildNode(const SRange& range, uint32_t depth)
{
    SRange children[kBvhWidth];
    uint32_t count = 1;
    children[0] = range;
    while (count < kBvhWidth)
    {
        int pick = -1;
        float largest = -1.0f;
        for (uint32_t i = 0; i < count; ++i)
        {
            const float area = HalfArea(children[i].box.lower, children[i].box.upper);
            if (children[i].end - children[i].begin > kBvhLeafBalls && area > largest)
            {
                largest = area;
                pick = static_cast<int>(i);
            }
        }
        if (pick < 0)
            break;
        const SRange whole = children[pick];
        const uint32_t middle = Split(whole, depth);
        children[pick] = SRange{whole.begin, middle, BoundsOf(whole.begin, middle)};
        children[count++] = SRange{middle, whole.end, BoundsOf(middle, whole.end)};
    }

    const uint32_t index = static_cast<uint32_t>(m_Nodes.size());
    m_Nodes.emplace_back();
    SBvhNode node;
    for (uint32_t i = 0; i < kBvhWidth; ++i)
    {
        const bool used = i < count;
        for (int axis = 0; axis < 3; ++axis)
        {
            node.lower[axis][i] = used ? children[i].box.lower[axis] : kInfinity;
            node.upper[axis][i] = used ? children[i].box.upper[axis] : -kInfinity;
        }
        node.child[i] = kBvhNoChild;
        if (used)
            node.child[i] = children[i].end - children[i].begin <= kBvhLeafBalls
                                ? AddLeaf(children[i])
                                : BuildNode(children[i], depth + 1);
    }
    m_Nodes[index] = node;
    return index;
}

uint32_t CBallBvh::AddLeaf(const SRange& range)
{
    const uint32_t first = static_cast<uint32_t>(m_X.size());
    for (uint32_t i = range.begin; i < range.end; ++i)
    {
        m_X.push_back(m_Items[i].centre[0]);
        m_Y.push_back(m_Items[i].centre[1]);
        m_Z.push_back(m_Items[i].centre[2]);
        m_Radius.push_back(m_Items[i].radius);
        m_Ball.push_back(m_Items[i].ball);
    }
    return kBvhLeafFlag | first << 3 | (range.end - range.begin - 1);
}

// Splits a range of more than one ball in two non-empty parts; returns where the second begins.
// Binned surface-area heuristic over the centres along their widest axis; by count when the
// centres coincide or the tree grows deep.
uint32_t CBallBvh::Split(const SRange& range, uint32_t depth)
{
    float lo[3] = {kInfinity, kInfinity, kInfinity}, hi[3] = {-kInfinity, -kInfinity, -kInfinity};
    for (uint32_t i = range.begin; i < range.end; ++i)
        for (int axis = 0; axis < 3; ++axis)
        {
            lo[axis] = std::min(lo[axis], m_Items[i].centre[axis]);
            hi[axis] = std::max(hi[axis], m_Items[i].centre[axis]);
        }
    int axis = 0;
    for (int a = 1; a < 3; ++a)
        if (hi[a] - lo[a] > hi[axis] - lo[axis])
            axis = a;
    const uint32_t half = range.begin + (range.end - range.begin) / 2;
    const auto byCentre = [axis](const SItem& a, const SItem& b) { return a.centre[axis] < b.centre[axis]; };
    if (!(hi[axis] > lo[axis]) || depth >= kSurfaceSplitDepth)
    {
        std::nth_element(m_Items.begin() + range.begin, m_Items.begin() + half, m_Items.begin() + range.end,
                         byCentre);
        return half;
    }

    const float binsPerUnit = static_cast<float>(kBins) * 0.999f / (hi[axis] - lo[axis]);
    const auto binOf = [&](const SItem& item) {
        return std::min(kBins - 1, static_cast<uint32_t>((item.centre[axis] - lo[axis]) * binsPerUnit));
    };
    SBox bins[kBins];
    uint32_t counts[kBins] = {};
    for (SBox& box : bins)
        box = SBox{{kInfinity, kInfinity, kInfinity}, {-kInfinity, -kInfinity, -kInfinity}};
    for (uint32_t i = range.begin; i < range.end; ++i)
    {
        const uint32_t bin = binOf(m_Items[i]);
        ++counts[bin];
        for (int a = 0; a < 3; ++a)
        {
            bins[bin].lower[a] = std::min(bins[bin].lower[a], m_Items[i].box.lower[a]);
            bins[bin].upper[a] = std::max(bins[bin].upper[a], m_Items[i].box.upper[a]);
        }
    }
    // Cost of splitting after bin k: area times count on each side.
    float rightCost[kBins] = {};
    SBox right = bins[kBins - 1];
    uint32_t rightCount = counts[kBins - 1];
    for (uint32_t k = kBins - 1; k > 0; --k)
    {
        rightCost[k] =
            rightCount > 0 ? HalfArea(right.lower, right.upper) * static_cast<float>(rightCount) : 0.0f;
        for (int a = 0; a < 3; ++a)
        {
            right.lower[a] = std::min(right.lower[a], bins[k - 1].lower[a]);
            right.upper[a] = std::max(right.upper[a], bins[k - 1].upper[a]);
        }
        rightCount += counts[k - 1];
    }
    SBox left = bins[0];
    uint32_t leftCount = 0;
    uint32_t best = 0;
    float bestCost = kInfinity;
    for (uint32_t k = 0; k + 1 < kBins; ++k)
    {
        if (k > 0)
            for (int a = 0; a < 3; ++a)
            {
                left.lower[a] = std::min(left.lower[a], bins[k].lower[a]);
                left.upper[a] = std::max(left.upper[a], bins[k].upper[a]);
            }
        leftCount += counts[k];
        if (leftCount == 0 || leftCount == range.end - range.begin)
            continue;
        const float cost =
            HalfArea(left.lower, left.upper) * static_cast<float>(leftCount) + rightCost[k + 1];
        if (cost < bestCost)
        {
            bestCost = cost;
            best = k;
        }
    }
    const auto middle = std::partition(m_Items.begin() + range.begin, m_Items.begin() + range.end,
                                       [&](const SItem& item) { return binOf(item) <= best; });
    const uint32_t split = static_cast<uint32_t>(middle - m_Items.begin());
    if (split == range.begin || split == range.end)
    {
        std::nth_element(m_Items.begin() + range.begin, m_Items.begin() + half, m_Items.begin() + range.end,
                         byCentre);
        return half;
    }
    return split;
}
}
