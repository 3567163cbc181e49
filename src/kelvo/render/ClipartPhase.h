// Pictures laid over the frame: each queued item is drawn once, by the next Run, with its
// colour picture on stage 0 and its alpha picture on stage 1, blended; then it is dropped.
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/render/RenderPhase.h"

#include <string>
#include <vector>

struct SClipartItem
{
    // x, y, width, height in the unit square of the target, (0, 0) top-left.
    SVector4 m_Rectangle;
    std::string m_ColorTexture;
    std::string m_AlphaTexture;
};

class CClipartPhase : public CRenderPhase
{
public:
    void AddClipart(const SClipartItem& item) { m_Items.push_back(item); }
    const std::vector<SClipartItem>& GetItems() const { return m_Items; }

    void Run(CRenderProcess* process) override;

private:
    std::vector<SClipartItem> m_Items;
};
