// One decoded music track and the playback that makes it heard. Created by CAudioSystem;
// freed by deleting it (the device closes first). Its position is the position of what is
// actually heard, so it can clock a show. Call from one thread.
#pragma once

#include "platform/audio/AudioPlayback.h"
#include "platform/audio/PcmAudio.h"

#include <cstdint>

class CAudioStream
{
public:
    ~CAudioStream();
    CAudioStream(const CAudioStream&) = delete;
    CAudioStream& operator=(const CAudioStream&) = delete;

    void Play();                                 // starts; goes on if already playing
    uint64_t GetPosition() const;                // bytes of PCM heard (or skipped), frame-aligned
    double BytesToSeconds(uint64_t bytes) const; // at this stream's rate and frame size
    uint64_t GetLength() const;                  // bytes of the whole track
    bool IsSilent() const { return m_Silent; }   // true when no device plays it

private:
    friend class CAudioSystem;
    CAudioStream() = default;

    SPcmAudio m_Audio;                    // from the start point on
    uint64_t m_SkippedBytes = 0;          // the track's bytes before the start point
    IAudioPlayback* m_Playback = nullptr; // owned; reads m_Audio
    bool m_Silent = false;
};
