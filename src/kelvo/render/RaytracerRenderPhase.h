// The traced picture: back to the back buffer, the tracer traces a frame for the game's
// camera, and the renderer draws the picture over the screen; without a picture the screen is
// filled with the sky's colour.
#pragma once

#include "kelvo/render/RenderPhase.h"

class CRaytracerRenderPhase : public CRenderPhase
{
public:
    void Run(CRenderProcess* process) override;
};
