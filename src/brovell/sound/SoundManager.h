// The music of the demo: one stream at a time from an MP3 file named by its bare file name,
// played through the audio layer. Its heard position is the demo's master clock. One
// static object (g_SoundManager), reachable through g_pSoundManager; main thread only.
#pragma once

#include "brovell/sound/MusicPlayer.h"
#include "platform/audio/AudioSystem.h"

#include <cstdint>
#include <string>

class CAudioStream;

class CSoundManager final : public IMusicPlayer
{
public:
    // Starts the audio output; without one the music plays silently on a real-time clock.
    // Becomes g_pSoundManager.
    CSoundManager();
    ~CSoundManager();
    CSoundManager(const CSoundManager&) = delete;
    CSoundManager& operator=(const CSoundManager&) = delete;

    // Frees the current stream, then opens the named file found through the data registry
    // and plays it. False (logged) and no stream when the name does not resolve or the file
    // does not decode.
    bool PlayFile(const std::string& name) override;
    // How the next PlayFile plays: from startSeconds into the track, and silently (on a
    // real-time clock) when mute.
    void SetPlayback(double startSeconds, bool mute);
    double GetPositionSeconds() const override;

    // The current stream, null when there is none.
    const CAudioStream* GetStream() const { return m_Stream; }
    // Byte position of what is heard of the current stream; 0 when there is none.
    uint64_t GetPosition() const;

private:
    void FreeStream();

    CAudioSystem m_Audio;
    CAudioStream* m_Stream = nullptr; // owned
    double m_StartSeconds = 0.0;
    bool m_Mute = false;
};

// Set by the constructor, cleared by the destructor.
extern CSoundManager* g_pSoundManager;
