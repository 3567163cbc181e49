// The show's clock and conductor: loads every scene on the first frame while the loader
// shows progress, starts one of the three tracks, then every frame runs the scene whose
// window holds the music position, with scene-local time, and hands its camera matrix to the
// walker. It ends the process, after writing the statistics, when the music passes the last
// window or stops moving for 22 frames. Main thread only.
//
// The music, the statistics file and the way the process ends are given by the owner, so
// the timeline runs the same under a test as in the program.
#pragma once

#include "brovell/demo/SceneEntry.h"
#include "brovell/sound/MusicPlayer.h"
#include "kelvo/core/Math.h"
#include "kelvo/gpu/LoadResourceSubscriber.h"
#include "platform/Clock.h"

#include <cstdint>
#include <string>
#include <vector>

class CScene;

struct SDemoSetup
{
    std::vector<SSceneEntry> m_Entries; // in timeline order, windows touching
    CScene* m_Loader = nullptr;         // owned; may be null
    // Not owned. Null: the program's sound manager, looked up when the show starts (it is
    // constructed after the demo).
    IMusicPlayer* m_Music = nullptr;
    std::string m_StatsPath = "stats.txt";
    void (*m_Exit)(int) = nullptr; // ends the process; null: _exit
};

// What a run may change before the first frame (a capture, a rehearsal).
struct SShowOverrides
{
    IMusicPlayer* m_Music = nullptr; // not owned; null: the setup's
    std::string m_Track;             // empty: one of the tracks drawn at random
    bool m_FixedSeed = false;        // seed the program's random numbers with m_Seed, not the tick count
    uint32_t m_Seed = 0;
    void (*m_Exit)(int) = nullptr; // null: the setup's
};

class CDemoTimeline : public ILoadResourceSubscriber
{
public:
    // The tracks, one picked at random at every start.
    static constexpr const char* kTracks[3] = {"velrin.mp3", "ostyn.mp3", "maruvel.mp3"};
    // The number of resources the scenes load: the loader's progress is count / this.
    static constexpr float kResourceCount = 26.0f;
    // Frames with an unchanged music position after which the show is over.
    static constexpr uint32_t kStallFrames = 22;

    explicit CDemoTimeline(SDemoSetup setup);
    virtual ~CDemoTimeline(); // deletes the scenes
    CDemoTimeline(const CDemoTimeline&) = delete;
    CDemoTimeline& operator=(const CDemoTimeline&) = delete;

    // One frame of the show; the first one loads everything and starts the music.
    void Frame();
    // Replaces what the setup chose; before the first frame.
    void Override(const SShowOverrides& overrides);
    // Moves the loading bar; does nothing once the show has started.
    void OnLoadResource() override;

    const std::vector<SSceneEntry>& GetEntries() const { return m_Entries; }
    bool IsStarted() const { return m_Started; }

protected:
    // Puts the walker where a scene's camera matrix says (its local matrix).
    virtual void PlaceWalker(const SMatrix& local) = 0;

private:
    void StartDemo();
    void WriteStatsAndExit();
    void RunScenes(float time);

    std::vector<SSceneEntry> m_Entries;
    bool m_Started = false;
    CStopwatch m_Stopwatch;
    CScene* m_Loader;
    IMusicPlayer* m_Music;
    std::string m_StatsPath;
    void (*m_Exit)(int);
    std::string m_Track;
    bool m_FixedSeed = false;
    uint32_t m_Seed = 0;
    // The track could not be started: the show ends as when the music stops, but as a failure.
    bool m_MusicFailed = false;

    uint32_t m_LoadedResources = 0;
    float m_PreviousTime = -1.0f;
    uint32_t m_UnchangedFrames = 0;
    const SSceneEntry* m_RunningScene = nullptr;
    uint32_t m_RunningSceneFrames = 0; // frames of the running scene before this one
};
