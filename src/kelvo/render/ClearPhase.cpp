#include "kelvo/render/ClearPhase.h"

#include "kelvo/core/Math.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/VarManager.h"

void CClearPhase::Run(CRenderProcess* /*process*/)
{
    static CVar* clearColor = GetVariable("r_clear_color", 16);
    clearColor->SetVector(SVector4{-1.0f, -1.0f, -1.0f, -1.0f});
    if (g_pGPUImplementation != nullptr)
        g_pGPUImplementation->Clear(true, true);
}
