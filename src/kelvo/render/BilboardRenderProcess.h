// A cleared frame with one picture rectangle, then the present layer.
#pragma once

#include "kelvo/render/RenderProcess.h"

class CBilboardsPhase;
class CPresentPhase;

class CBilboardRenderProcess : public CRenderProcess
{
public:
    CBilboardRenderProcess();

    CBilboardsPhase* GetBilboardsPhase() const { return m_Bilboards; }
    CPresentPhase* GetPresentPhase() const { return m_Present; }

private:
    CBilboardsPhase* m_Bilboards;
    CPresentPhase* m_Present;
};
