// The command line. With no options the program plays the show once, full screen, as it
// always has; the options add windowed playing, rehearsal from a time, silent playing, and
// capture of the whole show to a video file or to numbered pictures.
#pragma once

#include <cstdint>
#include <string>

struct SProgramOptions
{
    enum class EAction
    {
        Play,
        Capture,
        Help,
        Version,
    };
    EAction m_Action = EAction::Play;

    bool m_Windowed = false;
    uint32_t m_Width = 0;  // 0: the display's size (playing) or 1920 (capture)
    uint32_t m_Height = 0; // 0: the display's size (playing) or 1080 (capture)
    bool m_Vsync = false;
    bool m_Mute = false;
    double m_StartSeconds = 0.0;
    // Share of each axis of the traced image (0.25..1); 0: chosen per frame by how long
    // frames take. A capture traces the whole image unless told otherwise.
    float m_TraceScale = 0.0f;

    // Capture: a video file, or a folder of numbered PNG files.
    std::string m_VideoPath;
    std::string m_FramesFolder;
    uint32_t m_FramesPerSecond = 60;
    std::string m_Track; // empty: the first track
};

// Reads argv into options; false with a message naming the option in error.
bool ParseProgramOptions(int argc, const char* const* argv, SProgramOptions& options, std::string& error);

// The --help text.
const char* ProgramUsage();
