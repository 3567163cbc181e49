// The world from the game's camera, then the present layer.
#pragma once

#include "kelvo/render/RenderProcess.h"

class CPresentPhase;

class CGameRenderProcess : public CRenderProcess
{
public:
    CGameRenderProcess();

    CPresentPhase* GetPresentPhase() const { return m_Present; }

private:
    CPresentPhase* m_Present;
};
