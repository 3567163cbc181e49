#include "kelvo/render/BilboardsPhase.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/KelvoRenderer.h"

void CBilboardsPhase::Run(CRenderProcess* /*process*/)
{
    static CVar* position = GetVariable("r_dbg_tex_pos", 16);
    static CVar* color = GetVariable("r_color", 16);
    position->SetVector(m_Rectangle);
    color->SetVector(m_Color);
    IGPUImplementation* backend = g_pGPUImplementation;
    if (backend == nullptr || g_pKelvoRenderer == nullptr || m_Hidden)
        return;
    uint32_t savedFillMode = 2;
    backend->GetFillMode(savedFillMode);
    backend->SetFillMode(2);
    g_pKelvoRenderer->DrawMesh("bilboard", "default", m_Technique, "P0");
    backend->ResetTexture(0);
    backend->SetFillMode(savedFillMode);
}
