// The program's process-wide objects, constructed before main in one translation unit
// (StaticObjects.cpp) so that their order holds whatever the link order.
#pragma once

class CSoundManager;
class CTaskManager;
class CUpdateManager;
class CSdlKelvoAppWindow;

extern CSdlKelvoAppWindow g_AppWindow;
extern CUpdateManager g_UpdateManager;
extern CTaskManager g_TaskManager;
extern CSoundManager g_SoundManager;
