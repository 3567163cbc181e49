// The renderer's two-pass bicubic filter. A Catmull-Rom filter is separable: filtering the
// picture rows in view across into a float target at the rectangle's pixel columns, then
// those rows down, adds the same sixteen weighted texels per pixel in the same order as the
// one-pass filter, with four texel reads per pass instead of sixteen.
#include "kelvo/render/KelvoRenderer.h"

#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/BicubicRows.h"

void CKelvoRenderer::DrawBicubic(const SVector4& rectangle, uint32_t extentWidth, uint32_t extentHeight,
                                 const std::string& onePassTechnique)
{
    static CVar* position = GetVariable("r_dbg_tex_pos", 16);
    static CVar* rowsVariable = GetVariable("r_bicubic_rows", 16);
    static CVar* extentVariable = GetVariable("r_bicubic_extent", 16);
    position->SetVector(rectangle);
    extentVariable->SetVector(
        SVector4{static_cast<float>(extentWidth), static_cast<float>(extentHeight), 0.0f, 0.0f});
    const SBicubicRows rows = BicubicRowsInView(rectangle.y, rectangle.w, extentHeight);
    uint32_t targetWidth = 0, targetHeight = 0;
    if (m_Backend != nullptr)
        m_Backend->GetSize(targetWidth, targetHeight);
    uint32_t rowsWidth = 0, rowsHeight = 0, levels = 0, format = 0;
    if (m_BicubicRows != nullptr)
        m_BicubicRows->GetDesc(rowsWidth, rowsHeight, levels, format);
    if (extentWidth == 0 || rows.m_Count <= 0 || targetWidth == 0 || targetWidth > rowsWidth ||
        static_cast<uint32_t>(rows.m_Count) > rowsHeight || m_BicubicRows->SetRenderTarget(0) != kGPUResultOk)
    {
        DrawMesh("bilboard", "default", onePassTechnique, "P0");
        return;
    }
    rowsVariable->SetVector(SVector4{static_cast<float>(rows.m_First), static_cast<float>(rows.m_Count),
                                     static_cast<float>(targetWidth), 0.0f});
    m_Backend->SetViewport(0, 0, targetWidth, static_cast<uint32_t>(rows.m_Count), 0.0f, 1.0f);
    DrawMesh("bilboard", "default", "bicubic_tex", "P1");
    m_Backend->SetDefaultRenderTarget();
    m_BicubicRows->SetTexture(1);
    DrawMesh("bilboard", "default", "bicubic_tex", "P2");
    m_Backend->ResetTexture(1);
}
