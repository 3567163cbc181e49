// GL error checks for the places where the device may refuse a call.
#pragma once

#include <epoxy/gl.h>

// Drops errors left over from earlier calls, so that the next check sees only its own.
void ClearGLErrors();
// The first pending GL error (GL_NO_ERROR when none) after draining the queue.
GLenum TakeGLError();
