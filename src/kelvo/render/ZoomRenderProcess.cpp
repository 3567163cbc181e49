#include "kelvo/render/ZoomRenderProcess.h"

#include "kelvo/render/ClipartPhase.h"
#include "kelvo/render/PresentPhase.h"
#include "kelvo/render/ZoomPhase.h"

CZoomRenderProcess::CZoomRenderProcess()
{
    m_Zoom = AddPhase(new CZoomPhase());
    // The bank on two stages: the image in view and the images its texels turn into.
    m_Zoom->SetTexture(0, true, kBankPicture);
    m_Zoom->SetTexture(1, true, kBankPicture);
    m_Zoom->SetTexture(2, true, kBankTable);
    m_Clipart = AddPhase(new CClipartPhase());
    m_Present = AddPhase(new CPresentPhase());
}

void CZoomRenderProcess::Init()
{
    m_Zoom->SetBankTexture(kBankPicture);
    SetInitialised();
}
