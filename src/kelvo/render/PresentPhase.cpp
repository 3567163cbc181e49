#include "kelvo/render/PresentPhase.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/render/GameView.h"
#include "kelvo/render/KelvoRenderer.h"

#include <cmath>

CPresentPhase::CPresentPhase()
{
    SetTexture(0, true, "logotyp1.jpg");
}

void CPresentPhase::SetOverlay(const SVector4& color, float amount)
{
    m_OverlayColor = {color.x, color.y, color.z, amount * std::sqrt(amount)};
    m_OverlayAmount = amount;
}

void CPresentPhase::Run(CRenderProcess* /*process*/)
{
    CKelvoRenderer* renderer = g_pKelvoRenderer;
    if (renderer == nullptr || g_pGPUImplementation == nullptr)
        return;
    // The back buffer alone: a scene target left bound would take undefined values here.
    g_pGPUImplementation->SetDefaultRenderTarget();
    const float aspect = g_pGPUImplementation->GetAspect();
    // The logo samples what binding left on stage 0: this phase's input.
    renderer->DrawDebugTexture(0.0f, 0.0f, 0.3f * aspect, kLogoHeight, {1.0f, 1.0f, 1.0f, 0.0f},
                               {0.0f, 0.0f, 0.0f, 1.0f}, nullptr);
    if (m_OverlayAmount > 0.0f)
        renderer->DrawDebugTexture(0.0f, 0.0f, 1.0f, 1.0f, {0.0f, 0.0f, 0.0f, 1.0f}, m_OverlayColor, nullptr);
    renderer->DrawOverlays(g_pGameView != nullptr ? g_pGameView->GetCameraObject() : nullptr);
}
