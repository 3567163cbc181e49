#include "kelvo/gpu/GPUObjectContainerBase.h"

#include "kelvo/core/Rtti.h"

GPUObjectContainerBase::GPUObjectContainerBase(uint32_t type)
    : m_Handle{NextProcessId(), type}
{
}
