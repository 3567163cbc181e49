// The show's clock during a capture: the music "plays" at the pace of the frames, so frame n
// shows the time start + n / fps however long it took to draw. It decodes the track to know
// its length and to hand its sound to the video file. Main thread only.
#pragma once

#include "brovell/sound/MusicPlayer.h"
#include "platform/audio/PcmAudio.h"

#include <cstdint>
#include <string>

class CFrameClock final : public IMusicPlayer
{
public:
    CFrameClock(uint32_t framesPerSecond, double startSeconds);

    // Decodes the named track found through the data registry; false (logged) when it
    // cannot, and the clock then stays at 0 as without music.
    bool PlayFile(const std::string& name) override;
    // 0 until a track plays; then start + frame / fps, held at the end of the track.
    double GetPositionSeconds() const override;

    void SetFrame(uint64_t frame) { m_Frame = frame; }
    bool IsPlaying() const { return m_Playing; }
    const std::string& GetTrackName() const { return m_TrackName; }
    const SPcmAudio& GetAudio() const { return m_Audio; }
    double GetTrackSeconds() const;

private:
    uint32_t m_FramesPerSecond;
    double m_StartSeconds;
    uint64_t m_Frame = 0;
    bool m_Playing = false;
    std::string m_TrackName;
    SPcmAudio m_Audio;
};
