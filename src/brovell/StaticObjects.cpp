// Static initialisation order: the application window with its game, the update manager,
// the clock's start and frequency, the task manager with four workers, the ball tracer's
// client, the sound manager. Destruction runs backwards, so the music stops, the client is
// unregistered and the workers are joined before the window goes.
#include "brovell/StaticObjects.h"

#include "brovell/SdlKelvoAppWindow.h"
#include "brovell/sound/SoundManager.h"
#include "brovell/tracer/KelvoRayTracer.h"
#include "brovell/tracer/RayTracerLoader.h"
#include "kelvo/tasks/TaskManager.h"
#include "kelvo/tasks/UpdateManager.h"
#include "platform/Clock.h"

namespace
{
struct SClockStart
{
    SClockStart() { StartClock(); }
};

// Makes the client the one the game and the ray-tracing phase use, while it exists.
struct SRayTraceClientRegistration
{
    explicit SRayTraceClientRegistration(CKelvoRayTracer* client)
    {
        g_pKelvoRayTracer = client;
        g_pRayTraceClient = client;
    }
    ~SRayTraceClientRegistration()
    {
        g_pKelvoRayTracer = nullptr;
        g_pRayTraceClient = nullptr;
    }
};
}

CSdlKelvoAppWindow g_AppWindow;
CUpdateManager g_UpdateManager(&g_TaskManager);
static SClockStart s_ClockStart;
CTaskManager g_TaskManager(4);
CKelvoRayTracer g_KelvoRayTracer(GetQuellbeamRayTracer());
static SRayTraceClientRegistration s_RayTraceClientRegistration(&g_KelvoRayTracer);
CSoundManager g_SoundManager;
