// The store of all render variables, the one channel from the program to shaders. A variable
// is found or created by name and byte size and is never removed, so callers cache its
// pointer (usually in a function-local static). Look-up and creation may come from any
// thread and are serialised by the manager's lock; the variables' contents are not guarded.
#pragma once

#include "kelvo/gpu/Var.h"
#include "platform/Section.h"

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <string_view>

class CVarManager
{
public:
    // The single manager, built on first use and kept for the whole process, so cached
    // variable pointers stay valid even inside other objects' static destructors.
    static CVarManager& Instance();

    CVarManager(const CVarManager&) = delete;
    CVarManager& operator=(const CVarManager&) = delete;

    // The variable of that name, never null. A new one is size zero bytes; an existing one
    // of another size is logged and reset to size zero bytes, keeping its text.
    CVar* GetVariable(std::string_view name, uint32_t size);

private:
    CVarManager() = default;
    ~CVarManager() = default;

    CSection m_Lock;
    // Map nodes never move, so the variables held by value keep their addresses.
    std::map<std::string, CVar, std::less<>> m_Variables;
};

// What every caller uses: CVarManager::Instance().GetVariable(name, size).
CVar* GetVariable(std::string_view name, uint32_t size);
