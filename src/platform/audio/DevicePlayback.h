// Plays decoded PCM on SDL's default audio output. SDL's audio thread pulls the samples
// through a callback; the heard position is what was handed to the device minus what the
// device still holds (its last buffer, less the time that buffer has been playing).
#pragma once

#include "platform/audio/AudioPlayback.h"
#include "platform/audio/PcmAudio.h"

#include <chrono>
#include <cstdint>
#include <mutex>
#include <string>

class CDevicePlayback : public IAudioPlayback
{
public:
    // Opens the default output for audio's format (paused); null with a reason in error if
    // no device opens. audio must outlive the playback.
    static CDevicePlayback* Open(const SPcmAudio& audio, std::string& error);
    ~CDevicePlayback() override; // closes the device: no callback runs after this

    void Play() override;
    uint64_t GetHeardBytes() const override;

private:
    explicit CDevicePlayback(const SPcmAudio& audio);
    static void FillBuffer(void* self, uint8_t* buffer, int length);

    const SPcmAudio& m_Audio;
    uint32_t m_Device = 0;
    // Written by the audio thread under m_Lock.
    mutable std::mutex m_Lock;
    uint64_t m_HandedBytes = 0;     // handed to the device, silence after the end included
    uint32_t m_LastBufferBytes = 0; // size of the buffer handed last
    std::chrono::steady_clock::time_point m_LastBufferTime;
    mutable uint64_t m_HeardBytes = 0; // never reported smaller than before
};
