#include "kelvo/render/RenderProcess.h"

#include "kelvo/render/RenderPhase.h"

CRenderProcess::~CRenderProcess()
{
    for (CRenderPhase* phase : m_Phases)
        delete phase;
    m_Phases.clear();
    m_Initialised = false;
}

void CRenderProcess::Run()
{
    if (!m_Initialised)
    {
        Init();
        m_Initialised = true;
    }
    for (CRenderPhase* phase : m_Phases)
    {
        phase->BindTextures();
        phase->Run(this);
    }
}

void CRenderProcess::ReleaseTextures()
{
    for (CRenderPhase* phase : m_Phases)
        phase->ReleaseTextures();
}
