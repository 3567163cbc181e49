// The frame's last layer: the logo "logotyp1.jpg" (input 0) in the top-left corner, the
// overlay colour over the whole picture when its amount is above 0, then the renderer's
// queued lines and texts seen from the game's camera.
#pragma once

#include "kelvo/core/Math.h"
#include "kelvo/render/RenderPhase.h"

class CPresentPhase : public CRenderPhase
{
public:
    // Logo height as a share of the target's height.
    static constexpr float kLogoHeight = 0.0834375f;

    CPresentPhase();

    // The overlay's colour, covering amount^1.5 of the picture (its alpha).
    void SetOverlay(const SVector4& color, float amount);
    const SVector4& GetOverlayColor() const { return m_OverlayColor; }
    float GetOverlayAmount() const { return m_OverlayAmount; }

    void Run(CRenderProcess* process) override;

private:
    SVector4 m_OverlayColor{0.0f, 0.0f, 0.0f, 0.0f};
    float m_OverlayAmount = 0.0f;
};
