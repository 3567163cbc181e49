// Result codes of the GPU resource layer: one numbering shared by every operation of the
// layer, 0 for success. Each class adds the codes it reports here.
#pragma once

#include <cstdint>

inline constexpr uint32_t kGPUResultOk = 0;
// A store already holds a container under the name.
inline constexpr uint32_t kGPUResultNameInUse = 9;
// The handle's id is not in its store (or the handle names no store).
inline constexpr uint32_t kGPUResultHandleNotFound = 10;
// The container's name is not in its store's by-name map.
inline constexpr uint32_t kGPUResultNameNotFound = 11;
// The resource cannot be copied.
inline constexpr uint32_t kGPUResultCannotCopy = 45;
