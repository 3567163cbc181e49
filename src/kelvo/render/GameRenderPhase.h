// The world pass: the renderer's scene-pass set-up, then the game draws its world.
#pragma once

#include "kelvo/render/RenderPhase.h"

class CGameRenderPhase : public CRenderPhase
{
public:
    void Run(CRenderProcess* process) override;
};
