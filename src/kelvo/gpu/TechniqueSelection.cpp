#include "kelvo/gpu/TechniqueSelection.h"

#include "kelvo/gpu/VarManager.h"

namespace
{
// Text variables carry one unused byte.
constexpr uint32_t kTextVariableSize = 1;

CVar* TechniqueVariable()
{
    static CVar* const s_Technique = GetVariable("r_technique", kTextVariableSize);
    return s_Technique;
}

CVar* PassVariable()
{
    static CVar* const s_Pass = GetVariable("r_pass", kTextVariableSize);
    return s_Pass;
}
}

void SetTechnique(const std::string& name)
{
    TechniqueVariable()->SetText(name);
}

std::string GetTechnique()
{
    return TechniqueVariable()->GetText();
}

void SetPass(const std::string& name)
{
    PassVariable()->SetText(name);
}

std::string GetPass()
{
    return PassVariable()->GetText();
}
