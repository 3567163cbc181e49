// Music tracks through the audio layer's decoder.
#include "FuzzFolder.h"
#include "platform/audio/Mp3Decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    SPcmAudio audio;
    std::string error;
    if (!DecodeMp3File(WriteFuzzInput("track.mp3", data, size), audio, error) &&
        (error.empty() || !audio.m_Samples.empty()))
        __builtin_trap();
    return 0;
}
