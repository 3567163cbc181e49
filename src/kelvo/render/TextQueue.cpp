#include "kelvo/render/TextQueue.h"

#include "kelvo/gpu/GPUEffect.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/TechniqueSelection.h"
#include "kelvo/render/MeshStream.h"
#include "kelvo/render/OverlayResources.h"

#include <cmath>

namespace
{
// White; an alpha byte of 0 is opaque under the layer's blend factors.
constexpr uint32_t kTextColor = 0x00FFFFFF;
constexpr float kGlyphStep = 1.0f / 16.0f;
}

void CTextQueue::SetCellSize(uint32_t width, uint32_t height)
{
    m_CellWidth = width;
    m_CellHeight = height;
}

void CTextQueue::Add(const SVector4& position, const std::string& text, int anchor, uint32_t screenWidth,
                     uint32_t screenHeight)
{
    const float halfWidth = (static_cast<float>(text.size() * m_CellWidth) / screenWidth) / 2.0f;
    const float halfHeight = (static_cast<float>(m_CellHeight) / screenHeight) / 2.0f;
    SVector4 centre = position;
    switch (anchor)
    {
    case 0:
        centre = {position.x + halfWidth, 1.0f - position.y - halfHeight, 0.0f, 0.0f};
        break;
    case 1:
        centre = {1.0f - position.x - halfWidth, 1.0f - position.y - halfHeight, 0.0f, 0.0f};
        break;
    case 2:
        centre = {position.x + halfWidth, position.y + halfHeight, 0.0f, 0.0f};
        break;
    case 3:
        centre = {1.0f - position.x - halfWidth, position.y + halfHeight, 0.0f, 0.0f};
        break;
    default:
        break;
    }
    m_Texts.push_back({text, centre});
}

uint32_t CTextQueue::Draw(IGPUTexture* font)
{
    if (m_Texts.empty())
        return kGPUResultOk;
    SOverlayResources resources;
    const uint32_t acquired = AcquireOverlayResources("text_mesh", kGPUResultOverlayNoTextMesh, resources);
    if (acquired != kGPUResultOk)
        return acquired;
    IGPUImplementation* backend = g_pGPUImplementation;
    IGPUEffect* effect = resources.m_Effect;
    CMesh* mesh = resources.m_Mesh;

    SetTechnique("Text");
    SetPass("P0");
    CMeshDataBuffer* positions = FindMeshStream(*mesh, "position", 16);
    CMeshDataBuffer* texCoords = FindMeshStream(*mesh, "tex0", 16);
    CMeshDataBuffer* colors = FindMeshStream(*mesh, "diffuse", 4);
    CMeshDataBuffer* indices = FindMeshStream(*mesh, "indices", 4);
    std::size_t glyphCount = 0;
    for (const STextRecord& record : m_Texts)
        glyphCount += record.m_Text.size();
    const auto n = static_cast<uint32_t>(glyphCount);
    if (n == 0 || positions == nullptr || texCoords == nullptr || colors == nullptr || indices == nullptr ||
        !indices->Resize(6 * n) || !positions->Resize(4 * n) || !texCoords->Resize(4 * n) ||
        !colors->Resize(4 * n))
    {
        m_Texts.clear();
        return kGPUResultOk;
    }

    uint32_t screenWidth = 0, screenHeight = 0;
    backend->GetSize(screenWidth, screenHeight);
    const float width = static_cast<float>(screenWidth > 0 ? screenWidth : 1);
    const float height = static_cast<float>(screenHeight > 0 ? screenHeight : 1);
    const float glyphWidth = m_CellWidth / width;
    const float glyphHeight = m_CellHeight / height;
    uint32_t glyph = 0;
    for (const STextRecord& record : m_Texts)
    {
        // The text's bottom-left corner on whole pixels, then in unit coordinates.
        const float textPixels = static_cast<float>(record.m_Text.size() * m_CellWidth);
        float x = std::trunc(width * record.m_Position.x - textPixels * 0.5f) / width;
        const float y = std::trunc(height * record.m_Position.y - m_CellHeight * 0.5f) / height;
        for (const unsigned char byte : record.m_Text)
        {
            const float u = (byte % 16) * kGlyphStep;
            const float v = (byte / 16) * kGlyphStep;
            const SVector4 corners[4] = {{x, y, u, v + kGlyphStep},
                                         {x + glyphWidth, y, u + kGlyphStep, v + kGlyphStep},
                                         {x, y + glyphHeight, u, v},
                                         {x + glyphWidth, y + glyphHeight, u + kGlyphStep, v}};
            for (uint32_t k = 0; k < 4; ++k)
            {
                *positions->Element<SVector4>(4 * glyph + k) = {2.0f * corners[k].x - 1.0f,
                                                                2.0f * corners[k].y - 1.0f, 0.0f, 0.0f};
                *texCoords->Element<SVector4>(4 * glyph + k) = {corners[k].z, corners[k].w, 0.0f, 0.0f};
                *colors->Element<uint32_t>(4 * glyph + k) = kTextColor;
            }
            const uint32_t order[6] = {0, 1, 2, 1, 3, 2};
            for (uint32_t k = 0; k < 6; ++k)
                *indices->Element<uint32_t>(6 * glyph + k) = 4 * glyph + order[k];
            x += glyphWidth;
            ++glyph;
        }
    }

    mesh->Update();
    if (font != nullptr)
        font->SetTexture(0);
    backend->SetTextureFilter(0, 1);
    backend->SetAlphaBlend(true);
    if (effect->Begin() == kGPUResultOk)
    {
        mesh->Render();
        effect->End();
    }
    backend->SetAlphaBlend(false);
    backend->SetTextureFilter(0, 1);
    backend->SetTextureFilter(1, 1);
    m_Texts.clear();
    return kGPUResultOk;
}
