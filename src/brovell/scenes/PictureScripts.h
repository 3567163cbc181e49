// The scripts of the picture scenes as functions of scene-local time: each sets this
// frame's picture, rectangle and overlay in look and returns the wobble to apply after it.
// Where a script has no window for t (its exact boundaries), look is left as it was.
#pragma once

#include "brovell/scenes/PictureLook.h"

// The opening scroll: a tall picture moving up until y = -5, fading to black after 18 s.
SWobble ScriptImageScene(float t, SPictureLook& look);
// The group's name, "presents", then the production's title with a white flash.
SWobble ScriptIntroScene(float t, SPictureLook& look);
// The credit cards, each sliding in and out; the overlay is never touched.
SWobble ScriptOutroScene(float t, SPictureLook& look);
// The end picture: a white flash, then a ten-second fade to black.
SWobble ScriptImage2Scene(float t, SPictureLook& look);
