// Run-time type identity. Every class of the object model has a type number, drawn on first
// request from one process-wide counter (which also issues resource ids), so numbers start
// at 1 and follow the order in which classes first ask for theirs.
#pragma once

#include <cstdint>

// Next value of the process-wide id counter (atomic increment; the first value is 1).
uint32_t NextProcessId();

class CRttiObject
{
public:
    virtual ~CRttiObject() = default;

    static uint32_t StaticTypeId();
    virtual uint32_t GetTypeId() const { return StaticTypeId(); }
    virtual bool IsKindOf(uint32_t typeId) const { return typeId == StaticTypeId(); }
};

// Gives a class its own type number and answers IsKindOf with its own number first, then
// its direct base's answer.
#define KELVO_RTTI(ClassName, BaseName)                                                                      \
public:                                                                                                      \
    static uint32_t StaticTypeId()                                                                           \
    {                                                                                                        \
        static const uint32_t s_TypeId = NextProcessId();                                                    \
        return s_TypeId;                                                                                     \
    }                                                                                                        \
    uint32_t GetTypeId() const override                                                                      \
    {                                                                                                        \
        return StaticTypeId();                                                                               \
    }                                                                                                        \
    bool IsKindOf(uint32_t typeId) const override                                                            \
    {                                                                                                        \
        return typeId == StaticTypeId() || BaseName::IsKindOf(typeId);                                       \
    }
