// The demo's three music tracks, each composed in code to the show's timeline.
#pragma once

#include "music/Score.h"

SScore ComposeVelrin();  // bright electronic, A minor, about 120 bpm
SScore ComposeOstyn();   // slow and spacious, D dorian, about 84 bpm
SScore ComposeMaruvel(); // fast and dark, E phrygian, about 138 bpm
