// The application window: owns the game and turns window messages into the game's input,
// quit requests and the About box. One instance, a static object of the program, reachable
// through g_pAppWindow. Main thread only.
#pragma once

#include <cstdint>

#include "brovell/Game.h"
#include "kelvo/core/GameObject.h"
#include "kelvo/world/InputDispatcher.h"
#include "platform/window/WindowMessage.h"

class CKelvoAppWindow : public CGameObject
{
public:
    CKelvoAppWindow();
    ~CKelvoAppWindow() override;

    virtual void GetClientSize(uint32_t& width, uint32_t& height) const = 0;
    virtual void SetMouseCapture(bool capture) = 0;

    CGame& GetGame() { return m_Game; }
    CInputDispatcher& GetInputDispatcher() { return m_InputDispatcher; }

protected:
    CGame m_Game;
    CInputDispatcher m_InputDispatcher;
};

extern CKelvoAppWindow* g_pAppWindow;
