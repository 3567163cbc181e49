// The traced ball picture, pictures laid over it, then the present layer.
#pragma once

#include "kelvo/render/RenderProcess.h"

class CClipartPhase;
class CPresentPhase;

class CRtBallsRenderProcess : public CRenderProcess
{
public:
    CRtBallsRenderProcess();

    CClipartPhase* GetClipartPhase() const { return m_Clipart; }
    CPresentPhase* GetPresentPhase() const { return m_Present; }

private:
    CClipartPhase* m_Clipart;
    CPresentPhase* m_Present;
};
