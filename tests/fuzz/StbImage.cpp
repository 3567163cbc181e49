// stb_image compiled into the picture target, so that the fuzzer sees the decoder's coverage
// (the system's libstb is not instrumented); the program links the system library.
#define STB_IMAGE_IMPLEMENTATION
#include <stb/stb_image.h>
