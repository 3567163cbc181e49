#include "brovell/scenes/IntroScene.h"

#include "brovell/scenes/PictureScripts.h"
#include "brovell/scenes/PictureWobble.h"
#include "kelvo/render/BilboardsPhase.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/PresentPhase.h"

void CIntroScene::LoadResources()
{
    for (const std::string& picture : GetPictures())
        m_Preload.LoadTexture(picture);
}

void CIntroScene::Frame(float time)
{
    if (g_pKelvoRenderer)
        g_pKelvoRenderer->SetRenderProcess(&m_Process);
    const SWobble wobble = Script(time, m_Look);
    ApplyWobble(m_Look.m_Rectangle, time, wobble);

    CBilboardsPhase* bilboards = m_Process.GetBilboardsPhase();
    if (!m_Look.m_Picture.empty())
        bilboards->SetTexture(0, true, m_Look.m_Picture);
    bilboards->m_Rectangle = m_Look.m_Rectangle;
    // A full overlay replaces every pixel of the frame: the picture under it is not drawn.
    bilboards->m_Hidden = m_Look.m_OverlayAmount >= 1.0f;
    m_Process.GetPresentPhase()->SetOverlay(m_Look.m_OverlayColor, m_Look.m_OverlayAmount);
}

SWobble CIntroScene::Script(float time, SPictureLook& look) const
{
    return ScriptIntroScene(time, look);
}

std::vector<std::string> CIntroScene::GetPictures() const
{
    return {"quorridge.jpg", "presents.jpg", "harlune1.jpg"};
}
