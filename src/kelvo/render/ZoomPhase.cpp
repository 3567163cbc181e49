#include "kelvo/render/ZoomPhase.h"

#include "kelvo/core/GameObject.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "kelvo/gpu/GPUResult.h"
#include "kelvo/gpu/GPUTexture.h"
#include "kelvo/gpu/ResourceManager.h"
#include "kelvo/gpu/ScopedResource.h"
#include "kelvo/gpu/VarManager.h"
#include "kelvo/render/GameView.h"
#include "kelvo/render/KelvoRenderer.h"
#include "kelvo/render/ZoomBankCache.h"
#include "kelvo/render/ZoomBankTable.h"
#include "kelvo/render/ZoomProgress.h"
#include "kelvo/world/CameraLogic.h"
#include "platform/Log.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>

SZoomProgress g_ZoomProgress;

namespace
{
constexpr uint32_t kDescFormat = 1;
constexpr uint32_t kSolidFill = 2;
constexpr uint32_t kLinearFilter = 0;
// The text goes to the bottom-left corner, clear of the logo and the frame rate.
constexpr int kTextAnchor = 2;
constexpr float kLineDepth = 15.0f;

float FloatOf(const CVar* variable)
{
    float value = 0.0f;
    variable->GetFloat(value);
    return value;
}
}

CZoomPhase::~CZoomPhase()
{
    ReleaseBank();
}

void CZoomPhase::ReleaseBank()
{
    IGPUImplementation* backend = g_pGPUImplementation;
    if (backend != nullptr)
    {
        if (m_Bank != nullptr)
            backend->ReleaseResource(&m_BankHandle);
        if (m_Desc != nullptr)
            backend->ReleaseResource(&m_DescHandle);
    }
    m_Bank = nullptr;
    m_Desc = nullptr;
}

void CZoomPhase::SetBankGeometry(uint32_t width)
{
    m_BankWidth = width;
    m_ImagesPerRow = width / kImageSize;
}

void CZoomPhase::SetBankTexture(const std::string& name)
{
    static CVar* imagesX = GetVariable("r_zoom_images_x", 4);
    ReleaseBank();
    IGPUImplementation* backend = g_pGPUImplementation;
    CScopedResource bankRef(backend);
    if (backend == nullptr || backend->LoadTexture(name, bankRef.Receive()) != kGPUResultOk)
    {
        DebugLog("[CZoomPhase::SetBankTexture] Can't load texture: %s\n", name.c_str());
        return;
    }
    m_Bank = bankRef.Get<IGPUTexture>();
    if (m_Bank == nullptr)
    {
        DebugLog("[CZoomPhase::SetBankTexture] Can't cast to IGPUTexture!\n");
        return;
    }
    m_BankHandle = bankRef.Detach();
    uint32_t width = 0, height = 0, levels = 0, format = 0;
    m_Bank->GetDesc(width, height, levels, format);
    if (width == 0 || height == 0)
    {
        DebugLog("[CZoomPhase::SetBankTexture] !width || !height!\n");
        return;
    }
    if (width != height)
    {
        DebugLog("[CZoomPhase::SetBankTexture] width != height!\n");
        return;
    }
    // Anything else would cut images apart.
    if (width % kImageSize != 0)
    {
        DebugLog("[CZoomPhase::SetBankTexture] width is not a multiple of %u!\n", kImageSize);
        return;
    }
    SetBankGeometry(width);
    imagesX->SetUInt(m_ImagesPerRow);

    // The level with one texel per image: the images' average colours.
    int finalLevel = 0;
    for (uint32_t size = width; size > m_ImagesPerRow; size >>= 1)
        ++finalLevel;
    DebugLog("[CZoomPhase::SetBankTexture] Final Mipmap: %i\n", finalLevel);
    std::vector<uint32_t> averages;
    if (m_Bank->ReadPixels(static_cast<uint32_t>(finalLevel), 0, 0, m_ImagesPerRow, m_ImagesPerRow,
                           averages) != kGPUResultOk)
    {
        DebugLog("[CZoomPhase::SetBankTexture] Can't read mipmap %i!\n", finalLevel);
        return;
    }

    if (backend->CreateTexture("zoom_bank_desc", kZoomTableTextureSize, kZoomTableTextureSize, 1, kDescFormat,
                               false, m_DescHandle) != kGPUResultOk ||
        (m_Desc = GPUResourceCast<IGPUTexture>(backend->GetResource(m_DescHandle))) == nullptr)
    {
        DebugLog("[CZoomPhase::SetBankTexture] m_DescHandle Create Failed\n");
        return;
    }
    LoadOrBuildTable(name, averages);
    m_Desc->WritePixels(0, 0, kZoomTableTextureSize, kZoomTableTextureSize, m_Table.data(),
                        kZoomTableTextureSize * 4);
}

void CZoomPhase::LoadOrBuildTable(const std::string& bankName, const std::vector<uint32_t>& averages)
{
    // The cache belongs in the data folder, which holds the bank picture.
    const std::filesystem::path bankPath = CResourceManager::Instance().GetPath(bankName);
    const CZoomBankCache cache(bankPath.parent_path().string(), CZoomBankCache::UserCacheFolder());
    m_Table.assign(kZoomTableEntries, 0);
    if (cache.Load(m_Table))
        return;
    m_Table = BuildZoomBankTable(averages);
    cache.Store(m_Table);
}

void CZoomPhase::MoveInto(uint32_t image)
{
    // Without a bank there is no image to move into.
    if (m_ImagesPerRow == 0)
        return;
    const auto imageSize = static_cast<float>(m_BankWidth / m_ImagesPerRow);
    m_View.m_Scale *= imageSize;
    m_View.m_PositionX *= imageSize;
    m_View.m_PositionY *= imageSize;
    // One tile's width: what is left is the point's place inside its texel, as a tile.
    const float tile = 1.0f / static_cast<float>(m_ImagesPerRow);
    for (float* position : {&m_View.m_PositionX, &m_View.m_PositionY})
    {
        while (*position > 0.0f)
            *position -= tile;
        while (*position < 0.0f)
            *position += tile;
    }
    m_View.m_TileX = tile * static_cast<float>(image % m_ImagesPerRow);
    m_View.m_TileY = tile * static_cast<float>(image / m_ImagesPerRow);
    m_View.m_PositionX += m_View.m_TileX;
    m_View.m_PositionY += m_View.m_TileY;
    DebugLog("MoveTo: %f %f\n", static_cast<double>((m_View.m_PositionX - m_View.m_TileX) * 2048.0f),
             static_cast<double>((m_View.m_PositionY - m_View.m_TileY) * 2048.0f));
}

void CZoomPhase::Step(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, float lastProgress, float d)
{
    if (m_ImagesPerRow == 0)
        return;
    const auto imageSize = static_cast<float>(m_BankWidth / m_ImagesPerRow);
    const float texel = 1.0f / static_cast<float>(m_BankWidth);
    const float subTexel = texel / imageSize;
    const float targetX = static_cast<float>(x0) * texel + m_View.m_TileX + static_cast<float>(x1) * subTexel;
    const float targetY = static_cast<float>(y0) * texel + m_View.m_TileY + static_cast<float>(y1) * subTexel;
    const float rest = 1.0f - std::min(lastProgress, 1.0f);
    // Nothing is left to go once the key is complete.
    if (rest <= 0.0f)
        return;
    const float share = std::min(rest, d) / rest;
    m_View.m_PositionX += (targetX - m_View.m_PositionX) * share;
    m_View.m_PositionY += (targetY - m_View.m_PositionY) * share;
}

void CZoomPhase::Run(CRenderProcess* /*process*/)
{
    static CVar* mat1 = GetVariable("r_zoom_mat1", 16);
    static CVar* mat2 = GetVariable("r_zoom_mat2", 16);
    static CVar* aspect = GetVariable("r_zoom_aspect", 4);
    static CVar* blendVariable = GetVariable("r_zoom_blend", 4);
    static CVar* blend2Variable = GetVariable("r_zoom_blend2", 4);
    static CVar* texdx0 = GetVariable("r_texdx_0", 4);
    static CVar* texdy0 = GetVariable("r_texdy_0", 4);
    static CVar* texdx1 = GetVariable("r_texdx_1", 4);
    static CVar* texdy1 = GetVariable("r_texdy_1", 4);
    CKelvoRenderer* renderer = g_pKelvoRenderer;
    IGPUImplementation* backend = g_pGPUImplementation;
    if (renderer == nullptr || backend == nullptr)
        return;

    char text[256];
    std::snprintf(text, sizeof(text), "%f %f %f %f %i", static_cast<double>(m_View.m_PositionX),
                  static_cast<double>(m_View.m_PositionY), static_cast<double>(m_View.m_Scale),
                  static_cast<double>(m_View.m_Rotation), static_cast<int>(g_ZoomProgress.m_Key));
    renderer->DrawText({0.0f, 0.0f, 0.0f, 0.0f}, text, kTextAnchor);

    uint32_t screenWidth = 0, screenHeight = 0;
    backend->GetSize(screenWidth, screenHeight);
    const auto screen = static_cast<float>(std::max(screenWidth, screenHeight));

    // m: screen pixels per texel of the image drawn; c: how much smaller the next level's
    // texels are. One level deeper ("P1") once the next level's texels pass 5 pixels.
    const float texelSize = std::max(FloatOf(texdx0), FloatOf(texdy0));
    const float nextLevel = static_cast<float>(m_ImagesPerRow) * std::max(FloatOf(texdx1), FloatOf(texdy1));
    float magnification = screen * texelSize / m_View.m_Scale;
    const char* pass = "P0";
    if (magnification * nextLevel > 5.0f)
    {
        pass = "P1";
        magnification *= nextLevel;
    }
    float blend = 0.0f;
    if (magnification > 15.0f)
        blend = 1.0f;
    else if (magnification >= 5.0f)
        blend = (magnification - 5.0f) / 10.0f;
    float blend2 = 0.0f;
    if (magnification > 15.0f)
        blend2 = std::min((magnification - 15.0f) / (5.0f / nextLevel - 15.0f), 1.0f);

    const float scale = m_View.m_Scale;
    const float cosine = std::cos(m_View.m_Rotation);
    const float sine = std::sin(m_View.m_Rotation);
    mat1->SetVector(SVector4{scale * cosine, -scale * sine, 0.0f, m_View.m_PositionX});
    mat2->SetVector(SVector4{scale * sine, scale * cosine, 0.0f, m_View.m_PositionY});
    aspect->SetFloat(screenWidth != 0 ? static_cast<float>(screenHeight) / static_cast<float>(screenWidth)
                                      : 1.0f);
    blendVariable->SetFloat(blend);
    blend2Variable->SetFloat(blend2);

    uint32_t savedFillMode = kSolidFill;
    backend->GetFillMode(savedFillMode);
    backend->SetFillMode(kSolidFill);
    // Both bank stages filtered alike, linear with mip levels, whatever drew before: an image
    // must look the same as a texel's picture and, after the jump, as the current image.
    backend->SetTextureFilter(0, kLinearFilter);
    backend->SetTextureFilter(1, kLinearFilter);
    renderer->DrawMesh("bilboard", "default", "zoom_effect", pass);
    backend->SetFillMode(savedFillMode);

    DrawCameraLine();
}

void CZoomPhase::DrawCameraLine() const
{
    CGameObject* cameraObject = g_pGameView != nullptr ? g_pGameView->GetCameraObject() : nullptr;
    const auto* camera =
        static_cast<const CCameraLogic*>(FindLogic(cameraObject, CCameraLogic::StaticTypeId()));
    if (camera == nullptr || camera->GetNear() <= 0.0f)
        return;
    // The near plane's extents carried out to the line's depth.
    const float reach = kLineDepth / camera->GetNear();
    auto at = [&](float share) {
        return SVector4{(camera->GetLeft() + (camera->GetRight() - camera->GetLeft()) * share) * reach,
                        (camera->GetTop() + (camera->GetBottom() - camera->GetTop()) * share) * reach,
                        -kLineDepth, 1.0f};
    };
    g_pKelvoRenderer->AddCameraLine(at(0.25f), at(0.75f), 0xFFFFFFFFu, 0xFFFFFFFFu);
}
