#include "quellbeam/BackendFactory.h"

#include "quellbeam/cpu/CpuBackend.h"

namespace quellbeam
{
std::unique_ptr<ITracerBackend> CreatePreferredBackend()
{
    // No device backend is built into this library yet.
    return CreateCpuBackend();
}

std::unique_ptr<ITracerBackend> CreateCpuBackend() { return std::make_unique<CCpuBackend>(); }
}
