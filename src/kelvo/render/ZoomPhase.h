// The zoom scene's drawing. The bank "zoom2color.png" is an R x R grid of 256 x 256 images;
// building it reads the texture's last mip level back (one texel per image: its average
// colour) and fills the colour table "zoom_bank_desc" (ZoomBankTable.h), from the cache file
// when it holds one. Each frame the technique "zoom_effect" draws the current image under the
// view; a texel magnified enough turns into the whole bank image the table maps its colour
// to. Positions are in bank units, the whole bank being 1 x 1. Main thread only.
#pragma once

#include "kelvo/gpu/GPUObjectHandle.h"
#include "kelvo/render/RenderPhase.h"

#include <cstdint>
#include <string>
#include <vector>

class IGPUTexture;

struct SZoomView
{
    // Top-left corner of the current image's tile.
    float m_TileX = 0.0f;
    float m_TileY = 0.0f;
    // The point at the centre of the screen.
    float m_PositionX = 0.94140625f;
    float m_PositionY = 0.58447266f;
    float m_Rotation = 0.0f;
    // Bank units across the screen's larger side.
    float m_Scale = 10.0f;
};

class CZoomPhase : public CRenderPhase
{
public:
    static constexpr uint32_t kImageSize = 256;

    CZoomPhase() = default;
    // Gives the bank and the table texture back while the backend exists.
    ~CZoomPhase() override;

    // Builds the bank and its table from the named picture. Every failure is logged and
    // leaves the phase without a usable bank; the scene still runs.
    void SetBankTexture(const std::string& name);
    // The bank's size in texels; SetBankTexture sets it from the picture.
    void SetBankGeometry(uint32_t width);

    // A new key begins in bank image `image`: the point reached inside the current texel
    // becomes the same point of that image, and the scale grows to match.
    void MoveInto(uint32_t image);
    // Moves the view toward texel (x0, y0) of the current image, at the point (x1, y1) of
    // the next key inside it, by the share d of the key's rest after lastProgress; the
    // target is reached exactly when the progress reaches 1.
    void Step(uint32_t x0, uint32_t y0, uint32_t x1, uint32_t y1, float lastProgress, float d);

    void Run(CRenderProcess* process) override;

    SZoomView& GetView() { return m_View; }
    const SZoomView& GetView() const { return m_View; }
    uint32_t GetBankWidth() const { return m_BankWidth; }
    uint32_t GetImagesPerRow() const { return m_ImagesPerRow; }
    const std::vector<uint32_t>& GetTable() const { return m_Table; }

private:
    // Fills m_Table from the cache next to the bank picture, else computes and caches it.
    void LoadOrBuildTable(const std::string& bankName, const std::vector<uint32_t>& averages);
    void ReleaseBank();
    void DrawCameraLine() const;

    GPUObjectHandle m_BankHandle;
    IGPUTexture* m_Bank = nullptr;
    uint32_t m_BankWidth = 0;
    GPUObjectHandle m_DescHandle;
    IGPUTexture* m_Desc = nullptr;
    uint32_t m_ImagesPerRow = 0;
    SZoomView m_View;
    std::vector<uint32_t> m_Table;
};
