// Static initialisation order: the application window with its game, the update manager,
// the clock's start and frequency, the task manager with four workers, the sound manager.
// Destruction runs backwards, so the music stops and the workers are joined first.
#include "brovell/StaticObjects.h"

#include "brovell/SdlKelvoAppWindow.h"
#include "brovell/sound/SoundManager.h"
#include "kelvo/tasks/TaskManager.h"
#include "kelvo/tasks/UpdateManager.h"
#include "platform/Clock.h"

namespace
{
struct SClockStart
{
    SClockStart() { StartClock(); }
};
}

CSdlKelvoAppWindow g_AppWindow;
CUpdateManager g_UpdateManager(&g_TaskManager);
static SClockStart s_ClockStart;
CTaskManager g_TaskManager(4);
CSoundManager g_SoundManager;
