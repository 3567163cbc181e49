// A scene whose own content comes later: it shows its name and its window's time as text
// on a black frame, so that its stretch of the show is never silently blank.
#pragma once

#include "brovell/scenes/Scene.h"
#include "kelvo/render/BilboardRenderProcess.h"

#include <string>

class CTimeTextScene : public CScene
{
public:
    explicit CTimeTextScene(const char* name);

    void Frame(float time) override;

    // The text shown at scene time t.
    std::string GetText(float time) const;

private:
    const char* m_Name;
    CBilboardRenderProcess m_Process;
};
