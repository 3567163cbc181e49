#include "kelvo/render/GameRenderPhase.h"

#include "kelvo/render/GameView.h"
#include "kelvo/render/KelvoRenderer.h"

void CGameRenderPhase::Run(CRenderProcess* /*process*/)
{
    if (g_pKelvoRenderer != nullptr)
        g_pKelvoRenderer->BeginScenePass();
    if (g_pGameView != nullptr)
        g_pGameView->Render();
}
