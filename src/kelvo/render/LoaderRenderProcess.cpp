#include "kelvo/render/LoaderRenderProcess.h"

#include "kelvo/render/BilboardsPhase.h"
#include "kelvo/render/ClearPhase.h"
#include "kelvo/render/PresentPhase.h"

CLoaderRenderProcess::CLoaderRenderProcess()
{
    AddPhase(new CClearPhase());
    m_Frame = AddPhase(new CBilboardsPhase());
    m_Inner = AddPhase(new CBilboardsPhase());
    m_Bar = AddPhase(new CBilboardsPhase());
    AddPhase(new CPresentPhase());

    // Each rectangle sits 0.01 inside the one before it.
    const SVector4 frame{0.1f, 0.45f, 0.8f, 0.1f};
    const SVector4 inner{frame.x + 0.01f, frame.y + 0.01f, frame.z - 0.02f, frame.w - 0.02f};
    const SVector4 bar{inner.x + 0.01f, inner.y + 0.01f, 0.0f, inner.w - 0.02f};
    m_Frame->m_Rectangle = frame;
    m_Inner->m_Rectangle = inner;
    m_Inner->m_Color = {0.0f, 0.0f, 0.0f, 0.0f};
    m_Bar->m_Rectangle = bar;
    for (CBilboardsPhase* phase : {m_Frame, m_Inner, m_Bar})
        phase->m_Technique = "bilboard_color";
}
