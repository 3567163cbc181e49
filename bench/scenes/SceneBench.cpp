// Frames per second of every scene of the show, drawn by the real program: its window, game,
// renderer, scenes and tracer library. The show's clock is a fixed step per frame from a
// fixed time in each scene (no music; the program's clocks follow it, as in a capture), so
// every run draws the same frames; only the time they take is measured, on the real clock.
// Prints per scene the frames per second, the processor time of all the program's threads
// per frame (which a busy machine inflates less than the real time) and the share of each
// axis the tracer traced.
//   scene_bench [--size WxH] [--frames N] [--warmup N] [--offset SECONDS] [--step SECONDS]
//               [--trace-scale S] [--scene NAME]
// Needs a display: an X server (Xvfb will do) or SDL_VIDEODRIVER=offscreen.
#include "brovell/SdlKelvoAppWindow.h"
#include "brovell/StaticObjects.h"
#include "brovell/demo/Harlune1.h"
#include "brovell/sound/MusicPlayer.h"
#include "brovell/tracer/KelvoRayTracer.h"
#include "platform/Clock.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <unistd.h>
#include <vector>

namespace
{
double ProcessCpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) * 1000.0 + static_cast<double>(now.tv_nsec) / 1e6;
}

struct SBenchSettings
{
    uint32_t m_Width = 1280;
    uint32_t m_Height = 720;
    uint32_t m_Frames = 120;      // measured frames per scene
    uint32_t m_Warmup = 20;       // frames per scene before measuring
    double m_OffsetSeconds = 4.0; // where in each scene's window playing starts
    double m_StepSeconds = 1.0 / 30.0;
    float m_TraceScale = 0.0f; // 0: the tracer chooses
    std::string m_Scene;       // empty: every scene
};

struct SSceneResult
{
    std::string m_Name;
    double m_Milliseconds = 0.0;
    double m_CpuMilliseconds = 0.0; // of every thread of the process
    uint32_t m_Frames = 0;
    uint64_t m_TracedFrames = 0;
    double m_TracedScaleSum = 0.0;
};

// The show's clock: each read is one frame, a fixed step after the previous one; after the
// scene's frames it jumps to the next scene. Times each frame on the real clock.
class CBenchClock final : public IMusicPlayer
{
public:
    CBenchClock(const SBenchSettings& settings, const std::vector<SSceneEntry>& entries)
        : m_Settings(settings)
    {
        for (const SSceneEntry& entry : entries)
            if (settings.m_Scene.empty() || settings.m_Scene == entry.m_Name)
                m_Scenes.push_back(entry);
    }

    bool HasScenes() const { return !m_Scenes.empty(); }
    bool PlayFile(const std::string&) override { return true; }

    double GetPositionSeconds() const override
    {
        const double now = GetRealTimeMs();
        const double cpuNow = ProcessCpuMs();
        const uint32_t perScene = m_Settings.m_Warmup + m_Settings.m_Frames;
        const uint64_t traced = g_pKelvoRayTracer ? g_pKelvoRayTracer->GetTracedFrames() : 0;
        if (m_Frame > m_Settings.m_Warmup)
            Measure(now, cpuNow, traced != m_LastTracedFrames);
        m_LastTracedFrames = traced;
        if (m_Frame == perScene)
        {
            m_Results.push_back(m_Current);
            m_Current = SSceneResult{};
            m_Frame = 0;
            if (++m_SceneIndex == m_Scenes.size())
                Report();
        }
        const SSceneEntry& entry = m_Scenes[m_SceneIndex];
        m_Current.m_Name = entry.m_Name;
        const double time = entry.m_Start + m_Settings.m_OffsetSeconds + m_Frame * m_Settings.m_StepSeconds;
        SetManualClockMs(time * 1000.0);
        ++m_Frame;
        m_LastMs = now;
        m_LastCpuMs = cpuNow;
        return time;
    }

private:
    // The frame that just ended: its time and what the tracer traced in it.
    void Measure(double now, double cpuNow, bool traced) const
    {
        m_Current.m_Milliseconds += now - m_LastMs;
        m_Current.m_CpuMilliseconds += cpuNow - m_LastCpuMs;
        ++m_Current.m_Frames;
        if (!traced)
            return;
        ++m_Current.m_TracedFrames;
        m_Current.m_TracedScaleSum += g_pKelvoRayTracer->GetTracedScale();
    }

    [[noreturn]] void Report() const
    {
        char load[64] = "?";
        if (FILE* file = std::fopen("/proc/loadavg", "r"))
        {
            if (std::fgets(load, sizeof(load), file) == nullptr)
                std::strcpy(load, "?");
            std::fclose(file);
        }
        std::printf("scene_bench: %ux%u, %u frames per scene after %u, from %.1f s into each scene, "
                    "%.4f s per frame; load average at the end: %s",
                    m_Settings.m_Width, m_Settings.m_Height, m_Settings.m_Frames, m_Settings.m_Warmup,
                    m_Settings.m_OffsetSeconds, m_Settings.m_StepSeconds, load);
        std::printf("%-10s %8s %10s %14s %14s\n", "scene", "fps", "ms/frame", "cpu ms/frame", "traced share");
        for (const SSceneResult& result : m_Results)
        {
            const double ms = result.m_Frames ? result.m_Milliseconds / result.m_Frames : 0.0;
            char share[32] = "-";
            if (result.m_TracedFrames > 0)
                std::snprintf(share, sizeof(share), "%.3f", result.m_TracedScaleSum / result.m_TracedFrames);
            const double cpuMs = result.m_Frames ? result.m_CpuMilliseconds / result.m_Frames : 0.0;
            std::printf("%-10s %8.1f %10.2f %14.2f %14s\n", result.m_Name.c_str(),
                        ms > 0.0 ? 1000.0 / ms : 0.0, ms, cpuMs, share);
        }
        std::fflush(stdout);
        _exit(0);
    }

    SBenchSettings m_Settings;
    std::vector<SSceneEntry> m_Scenes;
    // The timeline reads the clock once per frame through a const interface.
    mutable std::size_t m_SceneIndex = 0;
    mutable uint32_t m_Frame = 0;
    mutable double m_LastMs = 0.0;
    mutable double m_LastCpuMs = 0.0;
    mutable uint64_t m_LastTracedFrames = 0;
    mutable SSceneResult m_Current;
    mutable std::vector<SSceneResult> m_Results;
};

bool ParseArguments(int argc, char** argv, SBenchSettings& settings)
{
    for (int i = 1; i + 1 < argc; i += 2)
    {
        const std::string option = argv[i];
        const char* value = argv[i + 1];
        if (option == "--size" && std::sscanf(value, "%ux%u", &settings.m_Width, &settings.m_Height) == 2)
            continue;
        if (option == "--frames" && (settings.m_Frames = std::strtoul(value, nullptr, 10)) > 0)
            continue;
        if (option == "--warmup")
        {
            settings.m_Warmup = std::strtoul(value, nullptr, 10);
            continue;
        }
        if (option == "--offset" && (settings.m_OffsetSeconds = std::atof(value)) >= 0.0)
            continue;
        if (option == "--step" && (settings.m_StepSeconds = std::atof(value)) > 0.0)
            continue;
        if (option == "--trace-scale" && (settings.m_TraceScale = std::strtof(value, nullptr)) >= 0.25f &&
            settings.m_TraceScale <= 1.0f)
            continue;
        if (option == "--scene")
        {
            settings.m_Scene = value;
            continue;
        }
        std::fprintf(stderr, "scene_bench: bad option \"%s %s\"\n", argv[i], value);
        return false;
    }
    if (argc % 2 == 0)
    {
        std::fprintf(stderr, "scene_bench: \"%s\" needs a value\n", argv[argc - 1]);
        return false;
    }
    return true;
}
}

int main(int argc, char** argv)
{
    SBenchSettings settings;
    if (!ParseArguments(argc, argv, settings))
        return 2;
    // The program finds its data folder and tracer library beside it, as the real one does.
    if (g_pHarlune1 == nullptr)
        return 1;
    static CBenchClock clock(settings, g_pHarlune1->GetEntries());
    if (!clock.HasScenes())
    {
        std::fprintf(stderr, "scene_bench: no scene \"%s\"\n", settings.m_Scene.c_str());
        return 2;
    }
    SShowOverrides overrides;
    overrides.m_Music = &clock;
    overrides.m_Track = CDemoTimeline::kTracks[0];
    overrides.m_FixedSeed = true;
    g_pHarlune1->Override(overrides);

    SProgramOptions options;
    options.m_Windowed = true;
    options.m_Mute = true;
    options.m_Width = settings.m_Width;
    options.m_Height = settings.m_Height;
    options.m_TraceScale = settings.m_TraceScale;
    return g_AppWindow.Run(options);
}
