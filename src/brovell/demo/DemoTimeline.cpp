#include "brovell/demo/DemoTimeline.h"

#include "brovell/demo/DemoStats.h"
#include "brovell/scenes/Scene.h"
#include "brovell/sound/SoundManager.h"
#include "kelvo/core/ProgramRandom.h"
#include "kelvo/gpu/GPUImplementation.h"
#include "platform/HeapTrim.h"
#include "platform/Log.h"

#include <unistd.h>

#include <utility>

CDemoTimeline::CDemoTimeline(SDemoSetup setup)
    : m_Entries(std::move(setup.m_Entries))
    , m_Loader(setup.m_Loader)
    , m_Music(setup.m_Music)
    , m_StatsPath(std::move(setup.m_StatsPath))
    , m_Exit(setup.m_Exit ? setup.m_Exit : &_exit)
{
}

CDemoTimeline::~CDemoTimeline()
{
    for (const SSceneEntry& entry : m_Entries)
        delete entry.m_Scene;
    delete m_Loader;
}

void CDemoTimeline::StartDemo()
{
    // The loader's own resources come before the subscription, so they are not counted.
    if (m_Loader)
        m_Loader->LoadResources();
    if (g_pGPUImplementation)
        g_pGPUImplementation->AddLoadResourceSubscriber(this);
    for (const SSceneEntry& entry : m_Entries)
        entry.m_Scene->LoadResources();

    ProgramRandom().Seed(m_FixedSeed ? m_Seed : GetTickCountMs());
    // Drawn even when the track is given, so the numbers drawn after it stay the same.
    const int drawn = ProgramRandom().Next() % 3;
    const std::string track = m_Track.empty() ? kTracks[drawn] : m_Track;

    // The tick count's resolution, for the log.
    const uint32_t first = GetTickCountMs();
    uint32_t changed = first;
    while (changed == first)
        changed = GetTickCountMs();
    DebugLog("gtc: %i\n", static_cast<int>(changed - first));

    if (!m_Music)
        m_Music = g_pSoundManager;
    if (m_Music)
        m_MusicFailed = !m_Music->PlayFile(track);
    // The demo clock counts from the start of the music.
    m_Stopwatch = CStopwatch();
}

void CDemoTimeline::Override(const SShowOverrides& overrides)
{
    if (overrides.m_Music)
        m_Music = overrides.m_Music;
    if (overrides.m_Exit)
        m_Exit = overrides.m_Exit;
    m_Track = overrides.m_Track;
    m_FixedSeed = overrides.m_FixedSeed;
    m_Seed = overrides.m_Seed;
}

void CDemoTimeline::OnLoadResource()
{
    if (m_Started)
        return;
    ++m_LoadedResources;
    DebugLog("[CHarlune1::OnLoadResource] %i\n", static_cast<int>(m_LoadedResources));
    if (m_Loader)
        m_Loader->Frame(static_cast<float>(m_LoadedResources) / kResourceCount);
}

void CDemoTimeline::Frame()
{
    if (!m_Started)
    {
        StartDemo();
        m_Started = true;
    }
    const float musicTime = m_Music ? static_cast<float>(m_Music->GetPositionSeconds()) : 0.0f;
    const float clockTime = static_cast<float>(m_Stopwatch.GetElapsedMs() * 0.001);
    // The drift between music and clock, now and then.
    if (ProgramRandom().Next() % 10 == 0)
        DebugLog("%f\n", musicTime - clockTime);

    // A position that stops moving means the music has ended (or never started).
    const float time = musicTime;
    if (time == m_PreviousTime)
    {
        // The count before this frame is the number of unchanged frames before it, less one.
        if (m_UnchangedFrames++ > kStallFrames - 2)
        {
            WriteStatsAndExit();
            return;
        }
    }
    else
        m_UnchangedFrames = 0;
    m_PreviousTime = time;

    RunScenes(time);
}

void CDemoTimeline::RunScenes(float time)
{
    bool over = true;
    for (const SSceneEntry& entry : m_Entries)
    {
        if (time < entry.m_End)
            over = false;
        if (!(entry.m_Start <= time && time < entry.m_End))
            continue;
        // What the scene before this one allocated and freed goes back to the system, so the
        // show's memory stays what it was after loading. Not before the second frame: the
        // driver may hold the last frame of the scene before until the first one is shown.
        m_RunningSceneFrames = m_RunningScene == &entry ? m_RunningSceneFrames + 1 : 0;
        m_RunningScene = &entry;
        if (m_RunningSceneFrames == 1)
            platform::ReturnFreeHeapPages();
        entry.m_Scene->Frame((time - entry.m_Start) * entry.m_TimeScale);
        entry.m_Scene->CountFrame();
        SMatrix camera;
        if (entry.m_Scene->GetCameraMatrix(camera))
            PlaceWalker(camera);
    }
    if (over)
        WriteStatsAndExit();
}

void CDemoTimeline::WriteStatsAndExit()
{
    if (!WriteDemoStats(m_StatsPath, m_Entries))
        DebugLog("[CHarlune1::WriteStatsAndExit] Cannot write \"%s\"\n", m_StatsPath.c_str());
    m_Exit(m_MusicFailed ? 1 : 0);
}
