// One rectangle drawn with a technique of "default" (a picture on stage 0 or a flat colour
// from "r_color"). The owner sets the rectangle, technique and colour directly.
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/render/RenderPhase.h"

#include <string>

class CBilboardsPhase : public CRenderPhase
{
public:
    void Run(CRenderProcess* process) override;

    // x, y, width, height in the unit square of the target, (0, 0) top-left.
    SVector4 m_Rectangle{0.0f, 0.0f, 1.0f, 1.0f};
    std::string m_Technique = "bicubic_tex";
    SVector4 m_Color{1.0f, 1.0f, 1.0f, 0.0f};
    // Nothing is drawn while hidden (what comes later covers the whole frame anyway).
    bool m_Hidden = false;
};
