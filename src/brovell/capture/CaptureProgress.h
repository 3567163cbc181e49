// The capture's progress line on standard error: frames done, the scene, the drawing speed
// and the time left at that speed.
#pragma once

#include <cstdint>
#include <string>

// For example "capture: 1200/13200 frames (9.1%), Balls, 14.2 fps, 14:05 left".
std::string FormatCaptureProgress(uint64_t framesDone, uint64_t frameCount, const std::string& scene,
                                  double elapsedSeconds);
