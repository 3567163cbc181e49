// The zoom scene's frame: the flight into the picture bank, pictures laid over it, then the
// present layer. Init builds the bank and its colour table from "zoom2color.png".
#pragma once

#include "kelvo/render/RenderProcess.h"

class CClipartPhase;
class CPresentPhase;
class CZoomPhase;

class CZoomRenderProcess : public CRenderProcess
{
public:
    // The bank picture and its colour table.
    static constexpr const char* kBankPicture = "zoom2color.png";
    static constexpr const char* kBankTable = "zoom_bank_desc";

    CZoomRenderProcess();

    void Init() override;

    CZoomPhase* GetZoomPhase() const { return m_Zoom; }
    CClipartPhase* GetClipartPhase() const { return m_Clipart; }
    CPresentPhase* GetPresentPhase() const { return m_Present; }

private:
    CZoomPhase* m_Zoom;
    CClipartPhase* m_Clipart;
    CPresentPhase* m_Present;
};
