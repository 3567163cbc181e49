#include "kelvo/render/RaytracerRenderPhase.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/render/GameView.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/RayTraceClient.h"

void CRaytracerRenderPhase::Run(CRenderProcess* /*process*/)
{
    if (g_pGPUImplementation != nullptr)
        g_pGPUImplementation->SetDefaultRenderTarget();
    if (g_pRayTraceClient != nullptr && g_pGameView != nullptr)
        g_pRayTraceClient->Render(g_pGameView->GetCameraObject());
    if (g_pKelvoRenderer != nullptr)
        g_pKelvoRenderer->DrawRayTracerImage();
}
