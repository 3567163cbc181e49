#include "kelvo/render/RtBallsRenderProcess.h"

#include "kelvo/render/ClipartPhase.h"
#include "kelvo/render/PresentPhase.h"
#include "kelvo/render/RaytracerRenderPhase.h"

CRtBallsRenderProcess::CRtBallsRenderProcess()
{
    AddPhase(new CRaytracerRenderPhase());
    m_Clipart = AddPhase(new CClipartPhase());
    m_Present = AddPhase(new CPresentPhase());
}
