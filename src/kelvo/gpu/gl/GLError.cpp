#include "kelvo/gpu/gl/GLError.h"

void ClearGLErrors()
{
    // Bounded: a lost context reports errors forever.
    for (int i = 0; i < 32 && glGetError() != GL_NO_ERROR; ++i)
    {
    }
}

GLenum TakeGLError()
{
    const GLenum first = glGetError();
    if (first != GL_NO_ERROR)
        ClearGLErrors();
    return first;
}
