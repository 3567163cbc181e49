#include "brovell/options/ProgramOptions.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace
{
// The largest capture the renderer draws: its depth surface is 1920x1080.
constexpr uint32_t kMaxCaptureWidth = 1920;
constexpr uint32_t kMaxCaptureHeight = 1080;

bool ParseUnsigned(const char* text, uint32_t& value)
{
    const char* end = text + std::strlen(text);
    const auto [last, code] = std::from_chars(text, end, value);
    return code == std::errc{} && last == end;
}

// "WxH" with both sides from 16 to 16384.
bool ParseSize(const char* text, uint32_t& width, uint32_t& height)
{
    const char* cross = std::strchr(text, 'x');
    if (cross == nullptr)
        return false;
    const std::string left(text, cross);
    if (!ParseUnsigned(left.c_str(), width) || !ParseUnsigned(cross + 1, height))
        return false;
    return width >= 16 && height >= 16 && width <= 16384 && height <= 16384;
}

bool ParseNumber(const char* text, double& number)
{
    const char* end = text + std::strlen(text);
    const auto [last, code] = std::from_chars(text, end, number);
    return code == std::errc{} && last == end && std::isfinite(number) && number >= 0.0;
}

bool Fail(std::string& error, const std::string& message)
{
    error = message;
    return false;
}

// The rules that hold between options, once all are read.
bool CheckCombination(SProgramOptions& options, std::string& error)
{
    const bool capture = !options.m_VideoPath.empty() || !options.m_FramesFolder.empty();
    if (!options.m_VideoPath.empty() && !options.m_FramesFolder.empty())
        return Fail(error, "--capture and --frames cannot be used together");
    if (!capture)
        return true;
    options.m_Action = SProgramOptions::EAction::Capture;
    // The same frames on every run: the traced share must not follow the machine's speed.
    if (options.m_TraceScale == 0.0f)
        options.m_TraceScale = 1.0f;
    if (options.m_Width == 0)
    {
        options.m_Width = kMaxCaptureWidth;
        options.m_Height = kMaxCaptureHeight;
    }
    if (options.m_Width > kMaxCaptureWidth || options.m_Height > kMaxCaptureHeight)
        return Fail(error, "--size: captures are at most 1920x1080");
    if (!options.m_VideoPath.empty() && (options.m_Width % 2 != 0 || options.m_Height % 2 != 0))
        return Fail(error, "--size: H.264 video needs an even width and height, for example 1280x720");
    return true;
}
}

bool ParseProgramOptions(int argc, const char* const* argv, SProgramOptions& options, std::string& error)
{
    options = SProgramOptions{};
    for (int i = 1; i < argc; ++i)
    {
        const std::string option = argv[i];
        const char* value = i + 1 < argc ? argv[i + 1] : nullptr;
        const auto needValue = [&]() {
            if (value == nullptr)
                return Fail(error, option + " needs a value");
            ++i;
            return true;
        };
        if (option == "--help" || option == "-h")
            options.m_Action = SProgramOptions::EAction::Help;
        else if (option == "--version")
            options.m_Action = SProgramOptions::EAction::Version;
        else if (option == "--windowed")
            options.m_Windowed = true;
        else if (option == "--vsync")
            options.m_Vsync = true;
        else if (option == "--mute")
            options.m_Mute = true;
        else if (option == "--size")
        {
            if (!needValue())
                return false;
            if (!ParseSize(value, options.m_Width, options.m_Height))
                return Fail(error, std::string("--size: \"") + value +
                                       "\" is not WIDTHxHEIGHT, for example 1280x720");
        }
        else if (option == "--start")
        {
            if (!needValue())
                return false;
            if (!ParseNumber(value, options.m_StartSeconds))
                return Fail(error, std::string("--start: \"") + value + "\" is not a number of seconds");
        }
        else if (option == "--capture" || option == "--frames" || option == "--track")
        {
            if (!needValue())
                return false;
            if (*value == '\0')
                return Fail(error, option + " needs a non-empty value");
            std::string& target = option == "--capture"  ? options.m_VideoPath
                                  : option == "--frames" ? options.m_FramesFolder
                                                         : options.m_Track;
            target = value;
        }
        else if (option == "--trace-scale")
        {
            if (!needValue())
                return false;
            double scale = 0.0;
            if (!ParseNumber(value, scale) || scale < 0.25 || scale > 1.0)
                return Fail(error,
                            std::string("--trace-scale: \"") + value + "\" is not a share from 0.25 to 1");
            options.m_TraceScale = static_cast<float>(scale);
        }
        else if (option == "--fps")
        {
            if (!needValue())
                return false;
            if (!ParseUnsigned(value, options.m_FramesPerSecond) || options.m_FramesPerSecond == 0 ||
                options.m_FramesPerSecond > 240)
                return Fail(error, std::string("--fps: \"") + value + "\" is not a frame rate from 1 to 240");
        }
        else
            return Fail(error, "unknown option \"" + option + "\"");
    }
    if (options.m_Action == SProgramOptions::EAction::Help ||
        options.m_Action == SProgramOptions::EAction::Version)
        return true;
    return CheckCombination(options, error);
}

const char* ProgramUsage()
{
    return "usage: brovell [options]\n"
           "With no options the show plays once, full screen, with its music.\n"
           "\n"
           "Playing:\n"
           "  --windowed          play in a window instead of full screen\n"
           "  --size WxH          the window's size (default: the display's)\n"
           "  --vsync             wait for the display's refresh between frames\n"
           "  --mute              play silently, on a real-time clock\n"
           "  --start SECONDS     begin at that time of the show (rehearsal)\n"
           "  --trace-scale S     trace that share (0.25 to 1) of each axis of the traced picture\n"
           "                      (default: less of it while frames run late on the CPU)\n"
           "\n"
           "Capture (no window, no sound device; the clock follows the frames):\n"
           "  --capture FILE.mp4  render the whole show to an H.264 video with its music (needs ffmpeg)\n"
           "  --frames DIR        render the whole show to numbered PNG files instead\n"
           "  --fps N             frames per second (default 60)\n"
           "  --size WxH          picture size (default 1920x1080, at most 1920x1080)\n"
           "  --track NAME        the music: velrin.mp3, ostyn.mp3 or maruvel.mp3 (default: the first)\n"
           "\n"
           "  --help              this text\n"
           "  --version           the program's version\n";
}
