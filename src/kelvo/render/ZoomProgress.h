// How far the zoom path has come: the current key, the progress the view was last stepped to
// and the key of the previous frame. Program-wide, shared by every zoom scene; the zoom phase
// prints the key. Main thread only.
#pragma once

#include <cstdint>

struct SZoomProgress
{
    int32_t m_Key = 0;
    float m_LastProgress = 0.0f;
    // The first key starts from the view's start values, without moving into an image.
    int32_t m_PreviousKey = 0;
};

extern SZoomProgress g_ZoomProgress;
