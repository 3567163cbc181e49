// How a stream's samples reach the listener: an audio device, or a silent real-time clock.
// Play is called from the owner's thread; GetHeardBytes may be called from any thread.
#pragma once

#include <cstdint>

class IAudioPlayback
{
public:
    virtual ~IAudioPlayback() = default;
    virtual void Play() = 0;                    // starts, or goes on if already playing
    virtual uint64_t GetHeardBytes() const = 0; // bytes of PCM heard so far, frame-aligned
};
