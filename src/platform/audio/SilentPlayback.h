// Plays nothing: the heard position follows a real-time clock from the first Play, so a
// demo clocked by the music runs as it would with a device.
#pragma once

#include "platform/audio/AudioPlayback.h"
#include "platform/audio/PcmAudio.h"

#include <atomic>
#include <chrono>

class CSilentPlayback : public IAudioPlayback
{
public:
    explicit CSilentPlayback(const SPcmAudio& audio); // audio must outlive the playback

    void Play() override;
    uint64_t GetHeardBytes() const override;

private:
    using Clock = std::chrono::steady_clock;

    const SPcmAudio& m_Audio;
    std::atomic<Clock::rep> m_StartTicks{0}; // Clock ticks at the first Play, 0 before
};
