// The effect interface: Begin runs the pass named by "r_pass" of the technique named by
// "r_technique" (see TechniqueSelection.h), after copying the render variables the technique
// lists in its "params" annotation into the effect; End ends it. One pass per Begin; Begin
// calls do not nest. Main thread only.
#pragma once

#include "kelvo/gpu/GPUResource.h"

#include <cstdint>

class IGPUEffect : public IGPUResource
{
    KELVO_RTTI(IGPUEffect, IGPUResource)

public:
    virtual uint32_t Begin() = 0;
    virtual uint32_t End() = 0;
};
