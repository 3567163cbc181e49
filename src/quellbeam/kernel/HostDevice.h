// Kernel code is shared by the CPU backend (plain C++) and the CUDA backend (nvcc): functions
// marked QB_HOST_DEVICE compile for both. Kernel headers use no standard-library containers
// and no exceptions.
#pragma once

#include <stdint.h>
#include <math.h>

#if defined(__CUDACC__)
#define QB_HOST_DEVICE __host__ __device__
#else
#define QB_HOST_DEVICE
#endif

#define QB_INLINE QB_HOST_DEVICE inline

QB_INLINE uint32_t LoadReadOnly(const uint32_t* word)
{
#if defined(__CUDA_ARCH__)
    return __ldg(word);
#else
    return *word;
#endif
}

// a * b + c rounded after each operation on host and device alike: nvcc would otherwise fuse
// them, and the two tree builders must put every ball in the same cells.
QB_INLINE float MulAddUnfused(float a, float b, float c)
{
#if defined(__CUDA_ARCH__)
    return __fadd_rn(__fmul_rn(a, b), c);
#else
    return a * b + c;
#endif
}
