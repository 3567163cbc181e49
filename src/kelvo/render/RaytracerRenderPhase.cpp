#include "kelvo/render/RaytracerRenderPhase.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/render/GameView.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/RayTraceClient.h"

namespace
{
// The tracer's horizon colour, opaque.
const SVector4 kSkyColor{0.73333f, 0.73333f, 1.0f, 1.0f};
}

void CRaytracerRenderPhase::Run(CRenderProcess* /*process*/)
{
    if (g_pGPUImplementation != nullptr)
        g_pGPUImplementation->SetDefaultRenderTarget();
    if (g_pRayTraceClient != nullptr && g_pGameView != nullptr)
        g_pRayTraceClient->Render(g_pGameView->GetCameraObject());
    // Without a traced picture (no tracer) the frame is the sky's colour, so what the scene
    // lays over it still shows on a defined background.
    if (g_pKelvoRenderer != nullptr && !g_pKelvoRenderer->DrawRayTracerImage())
        g_pKelvoRenderer->DrawDebugTexture(0.0f, 0.0f, 1.0f, 1.0f, {0.0f, 0.0f, 0.0f, 0.0f}, kSkyColor,
                                           nullptr);
}
