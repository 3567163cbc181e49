#include "brovell/scenes/ZoomScene.h"

#include "kelvo/render/ClipartPhase.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/PresentPhase.h"
#include "kelvo/render/ZoomPhase.h"
#include "kelvo/render/ZoomProgress.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace
{
constexpr const char* kOverlay = "dont-alpha.jpg";
const SVector4 kBlack{0.0f, 0.0f, 0.0f, 0.0f};
}

CZoomScene::CZoomScene()
    : m_Keys(std::begin(kZoomPath), std::end(kZoomPath))
    , m_Zoom(m_Process.GetZoomPhase())
    , m_Clipart(m_Process.GetClipartPhase())
    , m_Present(m_Process.GetPresentPhase())
{
}

void CZoomScene::LoadResources()
{
    if (!m_Process.IsInitialised())
        m_Process.Init();
    m_Preload.LoadTexture(kOverlay);
}

void CZoomScene::Frame(float time)
{
    if (g_pKelvoRenderer != nullptr)
        g_pKelvoRenderer->SetRenderProcess(&m_Process);
    // Out of black over the first key, back into it at the end.
    m_Present->SetOverlay(kBlack, 0.0f);
    if (time > 26.6f)
        m_Present->SetOverlay(kBlack, std::min((time - 26.6f) * 0.7f, 1.0f));
    else if (time < 3.0f)
        m_Present->SetOverlay(kBlack, (3.0f - time) * 0.33333f);
    m_Zoom->GetView().m_Rotation = std::sin(time * 0.5f) * 0.3f;
    m_Clipart->AddClipart({{0.0f, 0.0f, 1.0f, 1.0f}, kOverlay, kOverlay});
    FollowPath(time);
}

void CZoomScene::FollowPath(float time)
{
    const auto key = static_cast<int32_t>(time / kKeySeconds);
    g_ZoomProgress.m_Key = key;
    if (key < 0 || static_cast<size_t>(key) >= m_Keys.size())
        return;
    if (key != g_ZoomProgress.m_PreviousKey)
    {
        g_ZoomProgress.m_LastProgress = 0.0f;
        m_Zoom->MoveInto(m_Keys[key].m_Image);
        g_ZoomProgress.m_PreviousKey = key;
    }
    const SZoomKey& current = m_Keys[key];
    const float u = (time - kKeySeconds * static_cast<float>(key)) / kKeySeconds;
    m_Zoom->GetView().m_Scale = current.m_StartScale * std::pow(current.m_EndScale / current.m_StartScale, u);
    // Fast at first, settling on the target at the key's end.
    const float progress = 1.0f - (std::pow(500.0f, 1.0f - u) - 1.0f) / 499.0f;
    uint32_t nextX = 128, nextY = 128;
    if (static_cast<size_t>(key) + 1 < m_Keys.size())
    {
        nextX = m_Keys[key + 1].m_X;
        nextY = m_Keys[key + 1].m_Y;
    }
    m_Zoom->Step(current.m_X, current.m_Y, nextX, nextY, g_ZoomProgress.m_LastProgress,
                 progress - g_ZoomProgress.m_LastProgress);
    g_ZoomProgress.m_LastProgress = progress;
}
