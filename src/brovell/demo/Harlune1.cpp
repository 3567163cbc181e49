#include "brovell/demo/Harlune1.h"

#include "brovell/scenes/BallsScene.h"
#include "brovell/scenes/CarScene.h"
#include "brovell/scenes/Image2Scene.h"
#include "brovell/scenes/ImageScene.h"
#include "brovell/scenes/IntroScene.h"
#include "brovell/scenes/JugglerScene.h"
#include "brovell/scenes/LoaderScene.h"
#include "brovell/scenes/OutroScene.h"
#include "brovell/scenes/ZoomScene.h"
#include "kelvo/world/BeingObjectLogic.h"

CHarlune1* g_pHarlune1 = nullptr;

namespace
{
SDemoSetup MakeShow()
{
    SDemoSetup setup;
    setup.m_Entries = {
        {"Image", 1.0f, 0.0f, 22.6f, new CImageScene},
        {"Intro", 1.0f, 22.6f, 53.4f, new CIntroScene},
        {"Zoom", 1.0f, 53.4f, 82.0f, new CZoomScene},
        {"Balls", 1.0f, 82.0f, 111.43f, new CBallsScene},
        {"Credits", 1.0f, 111.43f, 151.43f, new COutroScene},
        {"Jugglers", 1.0f, 151.43f, 175.4f, new CJugglerScene},
        {"Car", 1.0f, 175.4f, 202.0f, new CCarScene},
        {"End", 1.0f, 202.0f, 220.0f, new CImage2Scene},
    };
    setup.m_Loader = new CLoaderScene;
    return setup;
}
}

CHarlune1::CHarlune1()
    : CDemoTimeline(MakeShow())
{
    g_pHarlune1 = this;
}

CHarlune1::~CHarlune1()
{
    if (g_pHarlune1 == this)
        g_pHarlune1 = nullptr;
}

void CHarlune1::PlaceWalker(const SMatrix& local)
{
    if (!m_Walker)
        return;
    // Only the local matrix changes; the rest of the walker's transform state stays.
    STransformState state = m_Walker->GetTransformState();
    state.local = local;
    m_Walker->SetTransformState(state);
}
