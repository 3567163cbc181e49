#include "kelvo/render/GameRenderProcess.h"

#include "kelvo/render/GameRenderPhase.h"
#include "kelvo/render/PresentPhase.h"

CGameRenderProcess::CGameRenderProcess()
{
    AddPhase(new CGameRenderPhase());
    m_Present = AddPhase(new CPresentPhase());
}
