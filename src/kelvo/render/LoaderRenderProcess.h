// The loading screen: a cleared frame with a progress bar (white frame, black inside, white
// bar whose width the loader grows from 0), then the present layer.
#pragma once

#include "kelvo/render/RenderProcess.h"

class CBilboardsPhase;

class CLoaderRenderProcess : public CRenderProcess
{
public:
    CLoaderRenderProcess();

    CBilboardsPhase* GetFramePhase() const { return m_Frame; }
    CBilboardsPhase* GetInnerPhase() const { return m_Inner; }
    CBilboardsPhase* GetBarPhase() const { return m_Bar; }

private:
    CBilboardsPhase* m_Frame;
    CBilboardsPhase* m_Inner;
    CBilboardsPhase* m_Bar;
};
