// The CUDA runtime's OpenGL interop calls that the backend makes, declared here without
// OpenGL's headers (GL names, targets and enums are unsigned ints): the library builds and
// loads without any GL package, and the calls resolve inside the static CUDA runtime.
#pragma once

#include <cuda_runtime_api.h>

namespace quellbeam::cuda
{
inline constexpr unsigned int kGlTexture2D = 0x0DE1; // GL_TEXTURE_2D
inline constexpr int kGlDeviceListAll = 1;           // cudaGLDeviceListAll
}

extern "C"
{
    cudaError_t CUDARTAPI cudaGLGetDevices(unsigned int* pCudaDeviceCount, int* pCudaDevices,
                                           unsigned int cudaDeviceCount, int deviceList);
    cudaError_t CUDARTAPI cudaGraphicsGLRegisterImage(cudaGraphicsResource** resource, unsigned int image,
                                                      unsigned int target, unsigned int flags);
}
