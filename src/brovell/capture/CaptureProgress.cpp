#include "brovell/capture/CaptureProgress.h"

#include <cmath>
#include <cstdio>

std::string FormatCaptureProgress(uint64_t framesDone, uint64_t frameCount, const std::string& scene,
                                  double elapsedSeconds)
{
    const double rate = elapsedSeconds > 0.0 ? static_cast<double>(framesDone) / elapsedSeconds : 0.0;
    const double percent = frameCount > 0 ? 100.0 * static_cast<double>(framesDone) / frameCount : 100.0;
    char left[32] = "--:--";
    if (rate > 0.0 && framesDone <= frameCount)
    {
        const auto seconds =
            static_cast<uint64_t>(std::llround(static_cast<double>(frameCount - framesDone) / rate));
        std::snprintf(left, sizeof(left), "%llu:%02llu", static_cast<unsigned long long>(seconds / 60),
                      static_cast<unsigned long long>(seconds % 60));
    }
    char line[256];
    std::snprintf(line, sizeof(line), "capture: %llu/%llu frames (%.1f%%), %s, %.1f fps, %s left",
                  static_cast<unsigned long long>(framesDone), static_cast<unsigned long long>(frameCount),
                  percent, scene.empty() ? "-" : scene.c_str(), rate, left);
    return line;
}
