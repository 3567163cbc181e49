#include "brovell/KelvoAppWindow.h"

CKelvoAppWindow* g_pAppWindow = nullptr;

namespace
{
// Mouse events carry the picking ray of the game's camera.
CGameObject* GameCamera()
{
    return g_pGame ? g_pGame->GetCameraObject() : nullptr;
}
}

CKelvoAppWindow::CKelvoAppWindow()
    : m_InputDispatcher(&GameCamera)
{
    g_pAppWindow = this;
}

CKelvoAppWindow::~CKelvoAppWindow()
{
    if (g_pAppWindow == this)
        g_pAppWindow = nullptr;
}
