// The backends the library can run on. The device backend is preferred when it is built in and
// finds a device it can use; otherwise CreatePreferredBackend logs one line saying why and
// returns null, and the CPU backend, which always works, takes over.
#pragma once

#include "quellbeam/host/TracerBackend.h"

#include <memory>

namespace quellbeam
{
std::unique_ptr<ITracerBackend> CreatePreferredBackend();
std::unique_ptr<ITracerBackend> CreateCpuBackend();
}
