// Clears the current colour target and the depth buffer; "r_clear_color" is set to
// (-1, -1, -1, -1) for techniques that read it.
#pragma once

#include "kelvo/render/RenderPhase.h"

class CClearPhase : public CRenderPhase
{
public:
    void Run(CRenderProcess* process) override;
};
