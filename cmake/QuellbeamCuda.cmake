# Finds nvcc and enables CUDA for the tracer's device backend. Sets QUELLBEAM_CUDA when it is
# built. Device code is compiled for compute capability 8.0 and 9.0, with 9.0's PTX for newer
# GPUs; the CUDA runtime is linked statically, so the library needs no toolkit where it runs.
# QUELLBEAM_CUDA_ENABLED=OFF builds without it even where nvcc exists.
option(QUELLBEAM_CUDA_ENABLED "Build the tracer's CUDA backend when nvcc is found" ON)
set(QUELLBEAM_CUDA OFF)
if(NOT QUELLBEAM_CUDA_ENABLED)
  message(STATUS "QUELLBEAM_CUDA_ENABLED is off: libquellbeam.so traces on the CPU only")
  return()
endif()

if(NOT DEFINED CMAKE_CUDA_COMPILER AND NOT DEFINED ENV{CUDACXX})
  find_program(QUELLBEAM_NVCC nvcc PATHS /usr/local/cuda/bin)
  if(QUELLBEAM_NVCC)
    set(CMAKE_CUDA_COMPILER ${QUELLBEAM_NVCC})
  endif()
endif()
include(CheckLanguage)
check_language(CUDA)
if(NOT CMAKE_CUDA_COMPILER)
  message(STATUS "nvcc not found: libquellbeam.so traces on the CPU only")
  return()
endif()

if(NOT DEFINED CMAKE_CUDA_ARCHITECTURES)
  set(CMAKE_CUDA_ARCHITECTURES 80-real 90)
endif()
if(CMAKE_CXX_COMPILER_LAUNCHER AND NOT CMAKE_CUDA_COMPILER_LAUNCHER)
  set(CMAKE_CUDA_COMPILER_LAUNCHER ${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
enable_language(CUDA)
find_package(CUDAToolkit REQUIRED)
set(QUELLBEAM_CUDA ON)
message(STATUS "CUDA ${CUDAToolkit_VERSION}: libquellbeam.so carries the CUDA backend (${CMAKE_CUDA_ARCHITECTURES})")
