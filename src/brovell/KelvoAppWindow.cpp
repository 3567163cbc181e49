#include "brovell/KelvoAppWindow.h"

CKelvoAppWindow* g_pAppWindow = nullptr;

CKelvoAppWindow::CKelvoAppWindow()
{
    g_pAppWindow = this;
}

CKelvoAppWindow::~CKelvoAppWindow()
{
    if (g_pAppWindow == this)
        g_pAppWindow = nullptr;
}
