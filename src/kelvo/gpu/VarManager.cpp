#include "kelvo/gpu/VarManager.h"

#include "platform/Log.h"

CVarManager& CVarManager::Instance()
{
    // Never destroyed: variables outlive every static object that may still write to them.
    static CVarManager* const s_Instance = new CVarManager();
    return *s_Instance;
}

CVar* CVarManager::GetVariable(std::string_view name, uint32_t size)
{
    CSectionLock lock(&m_Lock);
    auto found = m_Variables.find(name);
    if (found == m_Variables.end())
    {
        CVar& created = m_Variables.try_emplace(std::string(name)).first->second;
        created.Reset(size);
        return &created;
    }
    CVar& variable = found->second;
    if (variable.GetSize() != size)
    {
        DebugLog("[CVarManager::GetVariable] Bad variable size! old: %i, new: %i!\n",
                 static_cast<int>(variable.GetSize()), static_cast<int>(size));
        DebugLog("[CVarManager::GetVariable] Variable size change is unsafe!\n");
        variable.Reset(size);
    }
    return &variable;
}

CVar* GetVariable(std::string_view name, uint32_t size)
{
    return CVarManager::Instance().GetVariable(name, size);
}
