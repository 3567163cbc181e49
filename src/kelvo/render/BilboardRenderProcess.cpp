#include "kelvo/render/BilboardRenderProcess.h"

#include "kelvo/render/BilboardsPhase.h"
#include "kelvo/render/ClearPhase.h"
#include "kelvo/render/PresentPhase.h"

CBilboardRenderProcess::CBilboardRenderProcess()
{
    AddPhase(new CClearPhase());
    m_Bilboards = AddPhase(new CBilboardsPhase());
    m_Present = AddPhase(new CPresentPhase());
}
