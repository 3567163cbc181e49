#include "brovell/scenes/LoaderScene.h"

#include "brovell/scenes/LoaderDrawPacer.h"
#include "kelvo/render/BilboardsPhase.h"
#include "kelvo/render/KelvoRenderer.h"
#include "platform/Clock.h"

namespace
{
// The last drawing is one value for the whole program.
CLoaderDrawPacer s_Pacer;
}

void CLoaderScene::LoadResources()
{
    m_Preload.LoadEffect("default");
    m_Preload.LoadTexture("logotyp1.jpg");
}

void CLoaderScene::Frame(float progress)
{
    m_Process.GetBarPhase()->m_Rectangle.z = LoaderBarWidth(progress);
    if (!g_pKelvoRenderer)
        return;
    g_pKelvoRenderer->SetRenderProcess(&m_Process);
    if (s_Pacer.IsDrawDue(GetTimeMs()))
        g_pKelvoRenderer->RenderFrame();
}

float CLoaderScene::GetBarWidth() const
{
    return m_Process.GetBarPhase()->m_Rectangle.z;
}
