#include "kelvo/render/ClipartPhase.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/KelvoRenderer.h"

void CClipartPhase::Run(CRenderProcess* /*process*/)
{
    static CVar* position = GetVariable("r_dbg_tex_pos", 16);
    IGPUImplementation* backend = g_pGPUImplementation;
    for (const SClipartItem& item : m_Items)
    {
        SetTexture(0, true, item.m_ColorTexture);
        SetTexture(1, true, item.m_AlphaTexture);
        BindTextures();
        position->SetVector(item.m_Rectangle);
        if (backend == nullptr || g_pKelvoRenderer == nullptr)
            continue;
        uint32_t savedFillMode = 2;
        backend->GetFillMode(savedFillMode);
        backend->SetFillMode(2);
        backend->SetAlphaBlend(true);
        g_pKelvoRenderer->DrawMesh("bilboard", "default", "clipart_tex", "P0");
        backend->SetAlphaBlend(false);
        backend->ResetTexture(0);
        backend->SetFillMode(savedFillMode);
    }
    m_Items.clear();
}
