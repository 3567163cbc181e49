// The frame rate of every scene over its window, written when the show ends.
#pragma once

#include "brovell/demo/SceneEntry.h"

#include <string>
#include <vector>

// Rewrites path with one line "<name> fps: <frames / window length>" per entry, in order,
// with Windows line ends. False when the file cannot be created.
bool WriteDemoStats(const std::string& path, const std::vector<SSceneEntry>& entries);
