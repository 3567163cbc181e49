// The audio output of the program: SDL's audio subsystem and its default device. Music is
// decoded whole (libmpg123) and played as a stream; with no usable output a stream plays
// silently on a real-time clock, so the show keeps its timing. Main thread only.
#pragma once

#include "platform/audio/AudioStream.h"

#include <string>

class CAudioSystem
{
public:
    CAudioSystem() = default;
    ~CAudioSystem(); // frees the output if Free was not called
    CAudioSystem(const CAudioSystem&) = delete;
    CAudioSystem& operator=(const CAudioSystem&) = delete;

    // Starts the audio subsystem. False (said on standard error) when there is no audio
    // output: streams are then silent.
    bool Init();
    // Free every stream first.
    void Free();

    // Decodes the file and opens a paused stream on the default device, or a silent one if
    // no device opens or silent is asked for (said on standard error). The stream starts
    // startSeconds into the track, which its position counts as heard. Null, with a message
    // naming the file, if the file does not decode. The caller owns the stream.
    CAudioStream* CreateStream(const std::string& path, double startSeconds = 0.0, bool silent = false);

private:
    bool m_Initialised = false;
};
