#include "quellbeam/BackendFactory.h"

#include "platform/Log.h"
#include "quellbeam/cpu/CpuBackend.h"
#if QUELLBEAM_WITH_CUDA
#include "quellbeam/cuda/CudaBackend.h"
#endif

namespace quellbeam
{
std::unique_ptr<ITracerBackend> CreatePreferredBackend()
{
#if QUELLBEAM_WITH_CUDA
    return CCudaBackend::Create();
#else
    DebugLog("[Quellbeam::CreatePreferredBackend] built without CUDA: tracing on the CPU\n");
    return nullptr;
#endif
}

std::unique_ptr<ITracerBackend> CreateCpuBackend()
{
    return std::make_unique<CCpuBackend>();
}
}
