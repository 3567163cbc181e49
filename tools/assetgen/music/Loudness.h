// Loudness by EBU R 128 (libebur128): bringing a mix to a target integrated loudness
// under a peak ceiling.
#pragma once

#include "music/StereoBuffer.h"

// Scales and limits mix so its integrated loudness is targetLufs within a twentieth of a
// LU and no sample rises above ceilingDb (dBFS). Returns the integrated loudness reached.
double NormaliseLoudness(SStereoBuffer& mix, double targetLufs, float ceilingDb);
