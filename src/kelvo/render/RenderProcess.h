// A frame's drawing as an ordered list of render phases. The process owns its phases;
// subclasses build the list in their constructors and keep plain pointers to the phases
// their owner drives. Init runs once, before the first Run. Main thread only.
#pragma once

#include <vector>

class CRenderPhase;

class CRenderProcess
{
public:
    CRenderProcess() = default;
    CRenderProcess(const CRenderProcess&) = delete;
    CRenderProcess& operator=(const CRenderProcess&) = delete;
    virtual ~CRenderProcess();

    // Each phase binds its textures (whatever the outcome) and runs, in list order.
    virtual void Run();
    // One-time preparation before the first Run.
    virtual void Init() {}

    // Every phase gives its resolved textures back; they resolve again on the next Run.
    void ReleaseTextures();

    bool IsInitialised() const { return m_Initialised; }
    const std::vector<CRenderPhase*>& GetPhases() const { return m_Phases; }

protected:
    // Appends phase (owned from here on) and gives it back.
    template <typename TPhase>
    TPhase* AddPhase(TPhase* phase)
    {
        m_Phases.push_back(phase);
        return phase;
    }
    void SetInitialised() { m_Initialised = true; }

private:
    std::vector<CRenderPhase*> m_Phases;
    bool m_Initialised = false;
};
