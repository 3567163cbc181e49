#include "kelvo/render/GameView.h"
#include "kelvo/render/RayTraceClient.h"

IGameView* g_pGameView = nullptr;
IRayTraceClient* g_pRayTraceClient = nullptr;
