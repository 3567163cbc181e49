#include "brovell/scenes/TimeTextScene.h"

#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/PresentPhase.h"

#include <cstdio>

namespace
{
// DrawText anchors other than 0..3 take the position as the text's centre.
constexpr int kCentred = -1;
}

CTimeTextScene::CTimeTextScene(const char* name)
    : m_Name(name)
{
    // The whole frame under a black overlay; the text and the logo come after it.
    m_Process.GetPresentPhase()->SetOverlay({0.0f, 0.0f, 0.0f, 0.0f}, 1.0f);
}

void CTimeTextScene::Frame(float time)
{
    if (!g_pKelvoRenderer)
        return;
    g_pKelvoRenderer->SetRenderProcess(&m_Process);
    g_pKelvoRenderer->DrawText({0.5f, 0.5f, 0.0f, 0.0f}, GetText(time), kCentred);
}

std::string CTimeTextScene::GetText(float time) const
{
    char text[64];
    std::snprintf(text, sizeof(text), "%s %.2f s", m_Name, static_cast<double>(time));
    return text;
}
