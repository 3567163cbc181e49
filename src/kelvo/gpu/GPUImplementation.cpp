#include "kelvo/gpu/GPUImplementation.h"

IGPUImplementation* g_pGPUImplementation = nullptr;
