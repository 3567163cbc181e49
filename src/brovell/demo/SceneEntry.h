// One window of the timeline: a scene that is current from start (inclusive) to end
// (exclusive), in seconds of music time.
#pragma once

class CScene;

struct SSceneEntry
{
    const char* m_Name;
    float m_TimeScale;
    float m_Start;
    float m_End;
    CScene* m_Scene; // owned by the timeline
};
