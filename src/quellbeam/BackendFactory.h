// The backends the library can run on. The device backend is preferred when it is built in and
// finds a device; the CPU backend always works and takes over when the device cannot start.
#pragma once

#include "quellbeam/host/TracerBackend.h"

#include <memory>

namespace quellbeam
{
std::unique_ptr<ITracerBackend> CreatePreferredBackend();
std::unique_ptr<ITracerBackend> CreateCpuBackend();
}
